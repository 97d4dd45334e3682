#pragma once

#include <velawidget/export.h>

namespace velawidget {

/// "@(#)PROGRAM:VelaWidget  PROJECT:VelaWidget-1" and a line feed.
VELAWIDGET_API extern const char VelaWidgetVersionString[];
/// 1.0
VELAWIDGET_API extern const double VelaWidgetVersionNumber;

}  // namespace velawidget
