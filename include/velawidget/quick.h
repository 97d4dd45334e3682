#pragma once

/// The bank selector on Qt Quick: link `velawidget_quick` (CMake target
/// `VelaWidget::quick`). The QML module `VelaWidget` offers the same screen
/// as the type `WidgetView` for hosts written in QML.

#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/export.h>

#include <memory>

class QQmlEngine;
class QQuickWindow;

namespace velawidget {

/// One bank selector screen in a window of its own, made by
/// `VelaWidgetSDK::bankListViewController`. Every selector shows the facade's
/// one widget view model, so all of them follow the latest prepared link.
/// The window closes itself once a bank's app was opened, and on Escape.
/// Main thread only; the window lives as long as this object.
class VELAWIDGET_QUICK_API BankSelectorController {
  public:
    ~BankSelectorController();
    BankSelectorController(const BankSelectorController&) = delete;
    BankSelectorController& operator=(const BankSelectorController&) = delete;

    /// Shows the window (as a top-level window unless a transient parent was set on it).
    void show();
    /// Hides the window; `show()` brings the same screen back.
    void close();
    /// The window hosting the screen, for hosts that place or parent it themselves.
    QQuickWindow* window() const;

  private:
    friend class VelaWidgetSDK;
    BankSelectorController();
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

namespace quick {

/// Makes the QML module `VelaWidget` importable in `engine`, for hosts that
/// place `WidgetView` in their own QML (`import VelaWidget`, then
/// `WidgetView { onDismissRequested: ... }`; it observes the kit's shared
/// model, which `VelaWidgetSDK::bankListViewController` loads a link into).
/// No plugin import is needed. Main thread only.
VELAWIDGET_QUICK_API void registerQmlModule(QQmlEngine& engine);

}  // namespace quick

}  // namespace velawidget
