#pragma once

#include <velawidget/export.h>

#include <system_error>

namespace velawidget {

/// The single error type of every public call. Ordinals are part of the
/// public contract: hosts may persist or compare the numeric codes.
enum class VelaWidgetError : int {
    /// The payment-link text was not accepted as a payment link.
    invalidURLString = 0,
    /// No bank list could be obtained for the data-only query.
    loadingFaild = 1,
    /// The selector has nothing to be presented on.
    presentationFailed = 2,
};

/// The category behind `std::error_code` values made from `VelaWidgetError`;
/// its `name()` is "VelaWidget.VelaWidgetError".
VELAWIDGET_API const std::error_category& velaWidgetErrorCategory() noexcept;

/// Found by argument-dependent lookup, so `std::error_code ec = VelaWidgetError::...` works.
VELAWIDGET_API std::error_code make_error_code(VelaWidgetError error) noexcept;

}  // namespace velawidget

/// \cond INTERNAL
template <>
struct std::is_error_code_enum<velawidget::VelaWidgetError> : std::true_type {};
/// \endcond
