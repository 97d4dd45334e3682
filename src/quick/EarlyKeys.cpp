#include "quick/EarlyKeys.h"

#include <QCoreApplication>
#include <QEvent>
#include <QQuickItem>
#include <QQuickWindow>

namespace velawidget {
namespace {

// The item that gets the active focus once `screen`'s window is active: the
// end of the chain of focus scopes from `screen`.
QQuickItem* focusTarget(QQuickItem& screen) {
    QQuickItem* item = &screen;
    while (item->isFocusScope()) {
        QQuickItem* next = item->scopedFocusItem();
        if (!next) break;
        item = next;
    }
    return item;
}

}  // namespace

EarlyKeys::EarlyKeys(QQuickWindow& window, QQuickItem& screen)
    : QObject(&window), window_(&window), screen_(&screen) {
    window.installEventFilter(this);
}

bool EarlyKeys::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::InputMethod:
            break;
        default:
            return false;
    }
    if (watched != window_ || !screen_) return false;
    // Once an item has the active focus the window delivers keys itself.
    QQuickItem* focused = window_->activeFocusItem();
    if (focused && focused != window_->contentItem()) return false;
    QQuickItem* target = focusTarget(*screen_);
    if (!target->isVisible() || !target->isEnabled()) return false;
    QCoreApplication::sendEvent(target, event);
    return true;
}

}  // namespace velawidget
