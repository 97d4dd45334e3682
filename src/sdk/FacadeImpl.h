#pragma once

#include <velawidget/VelaWidgetSDK.h>

#include <memory>

#include "catalogue/Storage.h"
#include "selection/WidgetViewModel.h"

namespace velawidget {

/// The facade's members. `Storage` comes first: it is stateless and the
/// widget view model is built with a copy of it.
struct VelaWidgetSDK::Impl {
    /// Builds the selector's models on the installed platform; reads and writes nothing.
    Impl();

    Storage storage;
    std::shared_ptr<WidgetViewModel> widgetViewModel;
};

}  // namespace velawidget
