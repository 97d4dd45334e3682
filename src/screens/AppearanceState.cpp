#include "screens/AppearanceState.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPalette>

namespace velawidget {

AppearanceState::AppearanceState() : resolved_(resolveAppearance(appearance_, false)) {
    // Qt 6.4 tells of a palette change only through events.
    if (auto* app = QCoreApplication::instance()) app->installEventFilter(this);
    update();
}

bool AppearanceState::eventFilter(QObject* watched, QEvent* event) {
    if (watched == QCoreApplication::instance() &&
        event->type() == QEvent::ApplicationPaletteChange) {
        update();
    }
    return false;
}

void AppearanceState::setOverride(quick::ColorScheme scheme) {
    if (scheme == override_) return;
    override_ = scheme;
    // Forcing the scheme already in force draws nothing new, but the
    // override itself is read back.
    if (!update()) Q_EMIT changed();
}

void AppearanceState::setAppearance(const quick::Appearance& appearance) {
    appearance_ = appearance;
    update();
}

bool AppearanceState::update() {
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
    ResolvedAppearance resolved = resolveAppearance(appearance_, dark);
    if (dark == dark_ && resolved == resolved_) return false;
    dark_ = dark;
    resolved_ = std::move(resolved);
    Q_EMIT changed();
    return true;
}

}  // namespace velawidget
