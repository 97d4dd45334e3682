#include "quick/SelectorPresentation.h"

#include <QGuiApplication>
#include <QMargins>
#include <QRect>
#include <QScreen>
#include <QVariant>
#include <QWindow>
#include <algorithm>

namespace velawidget::quick {
namespace {

constexpr const char* selectorWindowMark = "_velawidget_selector";
constexpr const char* fittedMark = "_velawidget_fitted";

// The frame of a window the window manager has not framed yet is unknown:
// room for a title bar and thin borders, generous at any scale factor.
constexpr QMargins assumedFrame(8, 48, 8, 8);

QMargins frameOf(const QWindow& window) {
    const QMargins frame = window.frameMargins();
    return frame.isNull() ? assumedFrame : frame;
}

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

void fitToScreen(QWindow& window) {
    if (window.property(fittedMark).toBool()) return;
    window.setProperty(fittedMark, true);
    const QScreen* screen = window.screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QMargins frame = frameOf(window);
    const QSize fitted = window.size().boundedTo(area.marginsRemoved(frame).size());
    if (fitted == window.size() || fitted.isEmpty()) return;
    window.resize(fitted);
    // Nearly as tall as the screen, it fits in one place only; a window
    // manager's own placement may leave its foot below the edge. Placed by
    // its frame, which is what a window manager places.
    const QSize framed = fitted.grownBy(frame);
    window.setFramePosition(centredWithin(framed, area.center(), area));
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
    fitToScreen(selector);
    // Placed by its frame, so the title bar and the foot stay on the screen too.
    const QSize framed = selector.size().grownBy(frameOf(selector));
    selector.setFramePosition(centredWithin(framed, top->frameGeometry().center(),
                                            screen ? screen->availableGeometry() : QRect()));
    selector.show();
}

}  // namespace velawidget::quick
