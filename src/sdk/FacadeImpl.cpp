#include "sdk/FacadeImpl.h"

#include <velawidget/VelaWidgetError.h>

#include <stdexcept>
#include <system_error>
#include <utility>

namespace velawidget {

VelaWidgetSDK::Impl::Impl(Platform platform)
    : services(std::move(platform)),
      texts(std::make_shared<const FixedTexts>(services.texts)),
      storage(services.http, services.files) {
    // Runs inside `shared()` before the facade is published; builds the models
    // only, so nothing is read, written or downloaded yet.
    auto list = std::make_shared<BankListViewModel>(services.scheduler, texts);
    widgetViewModel = std::make_shared<WidgetViewModel>(
        std::move(list),
        WidgetViewModel::Services{storage, services.mainQueue, services.urlOpener, texts});
    // The host hears of events once the kit's own work for them is done, so
    // a handler may call back into the kit or close a selector.
    // The handler is looked up when the event is delivered, not when it is
    // queued: once `setEventHandler` returned on the main thread, a cleared
    // or replaced handler is never called again. The facade lives for the
    // rest of the process, so `this` outlives every queued delivery.
    eventForwarding = widgetViewModel->events.sink([this](const SelectorEvent& event) {
        if (!currentEventHandler()) return;
        services.mainQueue->async([this, event] {
            if (auto handler = currentEventHandler()) (*handler)(event);
        });
    });
    if (auto front = selectorPresenter()) front->attach(selectorServices());
}

std::shared_ptr<const SelectorEventHandler> VelaWidgetSDK::Impl::currentEventHandler() {
    const std::lock_guard lock(eventHandlerLock);
    return eventHandler;
}

SelectorPresenter& VelaWidgetSDK::Impl::presenter() const {
    auto front = selectorPresenter();
    if (!front) {
        throw std::logic_error(
            "VelaWidget: the selector calls need a selector front end; link VelaWidget::quick "
            "and include <velawidget/quick.h>");
    }
    // Registered for the rest of the process.
    return *front;
}

void VelaWidgetSDK::Impl::prepareWidgetViewModel(std::string_view paymentURL) {
    if (!widgetViewModel->prepare(paymentURL)) {
        throw std::system_error(make_error_code(VelaWidgetError::invalidURLString));
    }
}

}  // namespace velawidget
