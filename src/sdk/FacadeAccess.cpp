#include "sdk/FacadeAccess.h"

#include <velawidget/VelaWidgetError.h>

#include <system_error>

#include "sdk/FacadeImpl.h"
#include "sdk/WidgetPreparation.h"

namespace velawidget {

namespace detail {

WidgetViewModel& FacadeAccess::widgetViewModel(VelaWidgetSDK& sdk) {
    return *sdk.impl_->widgetViewModel;
}

std::shared_ptr<WidgetViewModel> FacadeAccess::widgetViewModelPtr(VelaWidgetSDK& sdk) {
    return sdk.impl_->widgetViewModel;
}

void FacadeAccess::prepareWidgetViewModel(VelaWidgetSDK& sdk, std::string_view paymentURL) {
    if (!velawidget::prepareWidgetViewModel(*sdk.impl_->widgetViewModel, paymentURL)) {
        throw std::system_error(make_error_code(VelaWidgetError::invalidURLString));
    }
}

}  // namespace detail
}  // namespace velawidget
