#pragma once

#include <string_view>

#include "selection/WidgetViewModel.h"

namespace velawidget {

/// Loads a payment link into the widget view model: the URL first, then its
/// kind, which starts the bank list's load. A text that fails any acceptance
/// test leaves the model untouched, so a screen still showing keeps serving
/// the link it had. Returns whether the link was accepted.
bool prepareWidgetViewModel(WidgetViewModel& model, std::string_view paymentURL);

}  // namespace velawidget
