#include <velawidget/BankSelectorController.h>

namespace velawidget {

// Out of line, so the core library owns the class's type information and
// any front end's selectors are destroyed through it.
BankSelectorController::~BankSelectorController() = default;

}  // namespace velawidget
