#pragma once

#include <velawidget/VelaWidgetSDK.h>

#include <memory>
#include <string_view>

#include "selection/WidgetViewModel.h"

namespace velawidget::detail {

/// The kit's own units (the selector calls) reach the facade's members here.
struct FacadeAccess {
    static VelaWidgetSDK::Impl& impl(VelaWidgetSDK& sdk) { return *sdk.impl_; }

    /// The one widget view model of the process.
    static WidgetViewModel& widgetViewModel(VelaWidgetSDK& sdk);
    /// The same model, for screens that share in keeping it alive.
    static std::shared_ptr<WidgetViewModel> widgetViewModelPtr(VelaWidgetSDK& sdk);

    /// Loads the link into the widget view model. Throws `std::system_error`
    /// with `invalidURLString` when the text is not a payment link; the model
    /// is then left as it was. Main thread only.
    static void prepareWidgetViewModel(VelaWidgetSDK& sdk, std::string_view paymentURL);
};

}  // namespace velawidget::detail
