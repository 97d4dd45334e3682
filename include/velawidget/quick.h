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
/// or parent it themselves; null for any other selector. The selector owns
/// its window and deletes it with itself. A host may hand it over to
/// `QWidget::createWindowContainer`, which then owns it: deleting the
/// container or the selector first is equally safe, and once the container
/// deleted the window, this returns null and `show()`/`close()` do nothing.
VELAWIDGET_QUICK_API QQuickWindow* window(const BankSelectorController& selector);

/// `window` as the parent of `VelaWidgetSDK::presentBankListViewController`.
inline HostWindow hostWindow(QWindow* window) noexcept {
    return HostWindow(window);
}

/// The top-level window of a Qt Widgets widget (`QWidget*`) as the parent
/// of `VelaWidgetSDK::presentBankListViewController`: the selector is modal
/// to the whole window the widget sits in. Null (and so refused by the
/// call) until that window has been shown. A template, so that this module
/// needs no Qt Widgets: it compiles where the host includes <QWidget>.
template <typename Widget>
inline auto hostWindow(Widget* widget) -> decltype(widget->window()->windowHandle(), HostWindow()) {
    if (!widget) return HostWindow();
    return HostWindow(widget->window()->windowHandle());
}

/// Makes the QML module `VelaWidget` importable in `engine`, for hosts that
/// place `WidgetView` in their own QML (`import VelaWidget`, then
/// `WidgetView { model: SharedSelector.model }` and
/// `SharedSelector.model.prepare(link)`). Not needed where the module's
/// plugin is installed in Qt's QML import path. Main thread only.
VELAWIDGET_QUICK_API void registerQmlModule(QQmlEngine& engine);

namespace detail {
/// Names the module as the selector front end of every kit (and the Qt
/// platform as the default); true once done.
VELAWIDGET_QUICK_API bool frontEndLinked() noexcept;
/// Naming the registration from every unit that includes this header links
/// it into the program, so it runs before `main` even in a static build.
inline const bool frontEndRegistered = frontEndLinked();
}  // namespace detail

}  // namespace velawidget::quick
