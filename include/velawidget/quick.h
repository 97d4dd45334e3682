#pragma once

/// The bank selector on Qt Quick: link `velawidget_quick` (CMake target
/// `VelaWidget::quick`) and include this header; the facade's selector
/// calls then show Qt Quick windows. The QML module `VelaWidget` offers the
/// same screen as the type `WidgetView` for hosts written in QML.

#include <velawidget/BankSelectorController.h>
#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/export.h>

class QQmlEngine;
class QQuickWindow;
class QWindow;

namespace velawidget::quick {

/// The window hosting a selector made by this module, for hosts that place
/// or parent it themselves; null for any other selector.
VELAWIDGET_QUICK_API QQuickWindow* window(const BankSelectorController& selector);

/// `window` as the parent of `VelaWidgetSDK::presentBankListViewController`.
inline HostWindow hostWindow(QWindow* window) noexcept {
    return HostWindow(window);
}

/// Makes the QML module `VelaWidget` importable in `engine`, for hosts that
/// place `WidgetView` in their own QML (`import VelaWidget`, then
/// `WidgetView { model: SharedSelector.model }` and
/// `SharedSelector.model.prepare(link)`). Not needed where the module's
/// plugin is installed in Qt's QML import path. Main thread only.
VELAWIDGET_QUICK_API void registerQmlModule(QQmlEngine& engine);

namespace detail {
/// Registers the module as the facade's selector front end (and the Qt
/// platform as its default); true once done.
VELAWIDGET_QUICK_API bool frontEndLinked() noexcept;
/// Naming the registration from every unit that includes this header links
/// it into the program, so it runs before `main` even in a static build.
inline const bool frontEndRegistered = frontEndLinked();
}  // namespace detail

}  // namespace velawidget::quick
