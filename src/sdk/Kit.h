#pragma once

#include <velawidget/BankListReport.h>
#include <velawidget/BankSelectorController.h>
#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/export.h>
#include <velawidget/platform.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string_view>

#include "catalogue/Storage.h"
#include "core/Texts.h"
#include "selection/SelectorPresenter.h"
#include "selection/WidgetViewModel.h"

namespace velawidget {

/// Everything the kit is, built from one `Platform`: the loader and its
/// files, the fixed texts, the selector's models, the event handler and,
/// once a selector call needs it, the front end that draws selectors.
/// `VelaWidgetSDK::shared()` holds the one kit of the process; tests and
/// tools build their own. The facade's calls keep their contracts here.
class VELAWIDGET_API Kit {
  public:
    /// Builds the models on `platform`, its empty members filled with the
    /// portable defaults as installing fills them; reads, writes and
    /// downloads nothing.
    /// `frontEnd` makes the selector front end at the first selector call
    /// (none: the selector calls throw `std::logic_error`).
    explicit Kit(Platform platform, SelectorFrontEnd frontEnd = selectorFrontEnd());
    Kit(const Kit&) = delete;
    Kit& operator=(const Kit&) = delete;

    void bankList(std::string_view paymentURL, DispatchQueuePtr receivOn,
                  std::function<void(const BankListReport&)> completion);
    bool recordChosenBank(const VelaWidgetBank& bank);
    void setEventHandler(SelectorEventHandler handler);

    std::unique_ptr<BankSelectorController> bankListViewController(std::string_view paymentURL,
                                                                   SelectorResultHandler onResult);
    void presentBankListViewController(std::string_view paymentURL, HostWindow parent,
                                       SelectorResultHandler onResult);
    void showBankSelector(std::string_view paymentURL, SelectorResultHandler onResult);

    /// Loads the link into the widget view model; throws `invalidURLString`.
    void prepareWidgetViewModel(std::string_view paymentURL);

    /// The front end, made on first use; throws `std::logic_error` when the
    /// kit has none. Main thread only.
    SelectorPresenter& presenter();
    /// What the front end draws selectors from.
    SelectorServices selectorServices() const {
        return {widgetViewModel_, platform_.http, platform_.files};
    }

  private:
    /// Set from any thread, read when an event is delivered on the main
    /// queue; shared with deliveries still queued when the kit goes.
    struct HandlerSlot {
        std::mutex lock;
        std::shared_ptr<const SelectorEventHandler> handler;
        std::shared_ptr<const SelectorEventHandler> current() {
            const std::lock_guard guard(lock);
            return handler;
        }
    };

    Platform platform_;
    SelectorFrontEnd frontEnd_;
    std::shared_ptr<const FixedTexts> texts_;
    Storage storage_;
    std::shared_ptr<WidgetViewModel> widgetViewModel_;
    std::shared_ptr<HandlerSlot> handlerSlot_ = std::make_shared<HandlerSlot>();
    Cancellable eventForwarding_;
    // Last, so it goes first: the front end's windows show the model.
    std::unique_ptr<SelectorPresenter> presenter_;
};

/// The kit of `VelaWidgetSDK::shared()`, made with it.
VELAWIDGET_API Kit& sharedKit();

}  // namespace velawidget
