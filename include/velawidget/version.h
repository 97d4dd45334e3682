#pragma once

namespace velawidget {

/// "@(#)PROGRAM:VelaWidget  PROJECT:VelaWidget-1" and a line feed.
extern const char VelaWidgetVersionString[];
/// 1.0
extern const double VelaWidgetVersionNumber;

}  // namespace velawidget
