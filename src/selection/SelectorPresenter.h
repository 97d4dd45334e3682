#pragma once

#include <velawidget/BankSelectorController.h>
#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/export.h>
#include <velawidget/platform/FileStore.h>
#include <velawidget/platform/HttpClient.h>

#include <memory>

#include "selection/WidgetViewModel.h"

namespace velawidget {

/// What a selector screen is made from: the facade's one widget view model,
/// the client its logos come through and the files their cache keeps.
struct SelectorServices {
    std::shared_ptr<WidgetViewModel> model;
    HttpClientPtr http;
    FileStorePtr files;
};

/// The selector front end as the facade sees it. The facade prepares the
/// model and hands it down; a front end (the Qt Quick module) registers one
/// of these and never calls back up. Main thread only.
class SelectorPresenter {
  public:
    virtual ~SelectorPresenter() = default;

    /// A new selector screen showing `services.model`, which tells
    /// `onResult` (when set) how each of its showings ended.
    virtual std::unique_ptr<BankSelectorController> makeSelector(
        const SelectorServices& services, SelectorResultHandler onResult) = 0;
    /// Shows `selector` over `parent`, which then owns it.
    virtual void present(std::unique_ptr<BankSelectorController> selector, HostWindow parent) = 0;
    /// The first window the host made; empty when there is none.
    virtual HostWindow firstHostWindow() const = 0;
    /// Told once, when the facade is made, so that screens the host builds
    /// on its own (in QML) show the same model.
    virtual void attach(const SelectorServices& services) = 0;
};

/// Registers the program's selector front end; the last one registered
/// serves. A front end registers itself while the program starts.
VELAWIDGET_API void installSelectorPresenter(std::shared_ptr<SelectorPresenter> presenter);
/// The registered front end; null when the program links none.
VELAWIDGET_API std::shared_ptr<SelectorPresenter> selectorPresenter();

}  // namespace velawidget
