#include "screens/ActiveColorScheme.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPalette>

namespace velawidget {

ActiveColorScheme& ActiveColorScheme::instance() {
    static ActiveColorScheme* scheme = new ActiveColorScheme;  // lives as long as the application
    return *scheme;
}

ActiveColorScheme::ActiveColorScheme() {
    // Qt 6.4 tells of a palette change only through events.
    if (auto* app = QCoreApplication::instance()) app->installEventFilter(this);
    update();
}

bool ActiveColorScheme::eventFilter(QObject* watched, QEvent* event) {
    if (watched == QCoreApplication::instance() &&
        event->type() == QEvent::ApplicationPaletteChange) {
        update();
    }
    return false;
}

void ActiveColorScheme::setOverride(quick::ColorScheme scheme) {
    override_ = scheme;
    update();
}

void ActiveColorScheme::update() {
    bool dark = false;
    switch (override_) {
        case quick::ColorScheme::light:
            dark = false;
            break;
        case quick::ColorScheme::dark:
            dark = true;
            break;
        case quick::ColorScheme::system:
            dark = qGuiApp && QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
            break;
    }
    if (dark == dark_) return;
    dark_ = dark;
    Q_EMIT changed();
}

}  // namespace velawidget

namespace velawidget::quick {

void setColorScheme(ColorScheme scheme) {
    velawidget::ActiveColorScheme::instance().setOverride(scheme);
}

}  // namespace velawidget::quick
