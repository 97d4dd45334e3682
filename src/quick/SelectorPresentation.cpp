#include "quick/SelectorPresentation.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QVariant>
#include <QWindow>
#include <algorithm>

namespace velawidget::quick {
namespace {

constexpr const char* selectorWindowMark = "_velawidget_selector";

// The point that puts `size` centred on `centre`, moved inside `area` as far
// as it fits (a selector taller than a small host window still opens whole).
QPoint centredWithin(const QSize& size, const QPoint& centre, const QRect& area) {
    QPoint origin = centre - QPoint(size.width() / 2, size.height() / 2);
    if (area.isEmpty()) return origin;
    origin.setX(std::clamp(origin.x(), area.left(),
                           std::max(area.left(), area.right() + 1 - size.width())));
    origin.setY(std::clamp(origin.y(), area.top(),
                           std::max(area.top(), area.bottom() + 1 - size.height())));
    return origin;
}

}  // namespace

void markSelectorWindow(QWindow& window) {
    window.setProperty(selectorWindowMark, true);
}

bool isSelectorWindow(const QWindow& window) {
    return window.property(selectorWindowMark).toBool();
}

QWindow* firstHostWindow() {
    if (!qGuiApp) return nullptr;
    const auto windows = QGuiApplication::topLevelWindows();
    // A hidden window (a splash shown and hidden before the main window)
    // would take the selector with it: it could neither be seen nor block
    // the window the shopper is using.
    const auto host = std::find_if(windows.begin(), windows.end(), [](const QWindow* window) {
        return window->isVisible() && !isSelectorWindow(*window);
    });
    return host == windows.end() ? nullptr : *host;
}

void presentOver(QWindow& selector, QWindow& parent) {
    QWindow* top = &parent;
    while (top->parent()) top = top->parent();
    // On X11 only a dialog gets WM_TRANSIENT_FOR; a plain window with a
    // transient parent is placed and stacked as if it had none.
    selector.setFlags((selector.flags() & ~Qt::WindowType_Mask) | Qt::Dialog);
    selector.setTransientParent(top);
    selector.setModality(Qt::WindowModal);
    QScreen* screen = top->screen();
    if (screen) selector.setScreen(screen);
    selector.setPosition(centredWithin(selector.size(), top->frameGeometry().center(),
                                       screen ? screen->availableGeometry() : QRect()));
    selector.show();
}

}  // namespace velawidget::quick
