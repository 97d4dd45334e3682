#pragma once

#include <velawidget/VelaWidgetSDK.h>

#include "catalogue/Storage.h"

namespace velawidget {

/// The facade's members. `Storage` comes first: it is stateless and other
/// members may rely on it.
struct VelaWidgetSDK::Impl {
    Impl() = default;

    Storage storage;
    // The selector's widget view model joins here (built after `storage`).
};

namespace detail {

/// The kit's own units (the selector calls) reach the facade's members here.
struct FacadeAccess {
    static VelaWidgetSDK::Impl& impl(VelaWidgetSDK& sdk) { return *sdk.impl_; }
};

}  // namespace detail
}  // namespace velawidget
