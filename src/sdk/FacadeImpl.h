#pragma once

#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/platform.h>

#include <memory>
#include <mutex>

#include "catalogue/Storage.h"
#include "core/Texts.h"
#include "selection/SelectorPresenter.h"
#include "selection/WidgetViewModel.h"

namespace velawidget {

/// The facade's members: the one services value every part below is built
/// from, and the selector's models.
struct VelaWidgetSDK::Impl {
    /// Builds the selector's models on `services`; reads and writes nothing.
    explicit Impl(Platform services);

    /// The selector calls' front end; throws `std::logic_error` when the
    /// program links none.
    SelectorPresenter& presenter() const;
    /// Loads the link into the widget view model; throws `invalidURLString`.
    void prepareWidgetViewModel(std::string_view paymentURL);
    /// The event handler in force now (null when none).
    std::shared_ptr<const SelectorEventHandler> currentEventHandler();
    SelectorServices selectorServices() const {
        return {widgetViewModel, services.http, services.files};
    }

    Platform services;
    std::shared_ptr<const FixedTexts> texts;
    Storage storage;
    std::shared_ptr<WidgetViewModel> widgetViewModel;
    // Written from any thread, read on the main queue.
    std::mutex eventHandlerLock;
    std::shared_ptr<const SelectorEventHandler> eventHandler;
    Cancellable eventForwarding;
};

}  // namespace velawidget
