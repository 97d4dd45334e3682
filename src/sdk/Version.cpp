#include <velawidget/version.h>

namespace velawidget {

const char VelaWidgetVersionString[] = "@(#)PROGRAM:VelaWidget  PROJECT:VelaWidget-1\n";
const double VelaWidgetVersionNumber = 1.0;

}  // namespace velawidget
