#include "sdk/FacadeImpl.h"

#include <velawidget/platform.h>

#include <utility>

namespace velawidget {

VelaWidgetSDK::Impl::Impl() {
    // Runs inside `shared()` before the facade is published; builds the models
    // only, so nothing is read, written or downloaded yet.
    const Platform& platform = currentPlatform();
    auto list = std::make_shared<BankListViewModel>(platform.scheduler, nullptr);
    widgetViewModel = std::make_shared<WidgetViewModel>(
        std::move(list),
        WidgetViewModel::Services{storage, platform.mainQueue, platform.urlOpener, nullptr});
}

}  // namespace velawidget
