#pragma once

#include <velawidget/BankSelectorController.h>
#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/export.h>
#include <velawidget/platform/FileStore.h>
#include <velawidget/platform/HttpClient.h>

#include <memory>

#include "selection/WidgetViewModel.h"

namespace velawidget {

/// What a selector screen is made from: its kit's one widget view model,
/// the client its logos come through and the files their cache keeps.
struct SelectorServices {
    std::shared_ptr<WidgetViewModel> model;
    HttpClientPtr http;
    FileStorePtr files;
};

/// The selector front end as a kit sees it. The kit prepares the model and
/// hands it down; the front end never calls back up. Main thread only.
class SelectorPresenter {
  public:
    virtual ~SelectorPresenter() = default;

    /// A new selector screen showing the kit's model, which tells `onResult`
    /// (when set) how each of its showings ended.
    virtual std::unique_ptr<BankSelectorController> makeSelector(
        SelectorResultHandler onResult) = 0;
    /// Shows `selector` over `parent`, which then owns it.
    virtual void present(std::unique_ptr<BankSelectorController> selector, HostWindow parent) = 0;
    /// The first window the host made; empty when there is none.
    virtual HostWindow firstHostWindow() const = 0;
};

/// Makes a kit's front end from the kit's services.
using SelectorFrontEnd = std::unique_ptr<SelectorPresenter> (*)(const SelectorServices& services);

/// Names the program's selector front end; a front end's library does so
/// while the program starts, and every kit made afterwards uses it.
VELAWIDGET_API void setSelectorFrontEnd(SelectorFrontEnd frontEnd) noexcept;
/// The front end named so far; null when the program links none.
VELAWIDGET_API SelectorFrontEnd selectorFrontEnd() noexcept;

}  // namespace velawidget
