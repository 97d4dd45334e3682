#pragma once

#include <velawidget/export.h>

namespace velawidget {

/// One bank selector screen in a window of its own, made by
/// `VelaWidgetSDK::bankListViewController`. Every selector shows the facade's
/// one widget view model, so all of them follow the latest prepared link.
/// The window closes itself once a bank's app was opened, and on Escape.
/// Main thread only; the window lives as long as this object.
///
/// The selector front end (the Qt Quick module, `VelaWidget::quick`) makes
/// them; `quick::window(controller)` gives its window to hosts that place or
/// parent it themselves.
class VELAWIDGET_API BankSelectorController {
  public:
    virtual ~BankSelectorController();
    BankSelectorController(const BankSelectorController&) = delete;
    BankSelectorController& operator=(const BankSelectorController&) = delete;

    /// Shows the window (as a top-level window unless a transient parent was set on it).
    virtual void show() = 0;
    /// Hides the window; `show()` brings the same screen back.
    virtual void close() = 0;

  protected:
    BankSelectorController() = default;
};

}  // namespace velawidget
