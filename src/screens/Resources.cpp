#include "screens/Resources.h"

#include <QEvent>
#include <QFile>
#include <QFont>
#include <QGuiApplication>

#include "screens/AppearanceState.h"
#include "screens/ColorCatalogue.h"

namespace velawidget {

Resources::Resources(QObject* parent) : QObject(parent) {
    refresh();
    connect(&AppearanceState::instance(), &AppearanceState::changed, this, [this] {
        refresh();
        Q_EMIT darkSchemeChanged();
        Q_EMIT appearanceChanged();
    });
    // Without a family of its own the selector writes the application's.
    if (auto* app = QCoreApplication::instance()) app->installEventFilter(this);
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::layoutDirectionChanged, this,
                &Resources::applicationDirectionChanged);
    }
}

bool Resources::eventFilter(QObject* watched, QEvent* event) {
    if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationFontChange) {
        Q_EMIT appearanceChanged();
    }
    return false;
}

bool Resources::darkScheme() const {
    return AppearanceState::instance().dark();
}

void Resources::refresh() {
    const ResolvedAppearance& resolved = AppearanceState::instance().resolved();
    for (const auto& name : colorNames()) colors_.insert(name, resolved.color(name));
}

qreal Resources::radius() const {
    return AppearanceState::instance().resolved().cornerRadius;
}

qreal Resources::smallRadius() const {
    // The loading bar's 8 beside the rows' 12.
    return radius() * 2 / 3;
}

QString Resources::fontFamily() const {
    const QString& family = AppearanceState::instance().resolved().fontFamily;
    return family.isEmpty() ? QGuiApplication::font().family() : family;
}

qreal Resources::fontScale() const {
    return AppearanceState::instance().resolved().fontScale;
}

bool Resources::accented() const {
    return AppearanceState::instance().resolved().accent.isValid();
}

QColor Resources::focusColor() const {
    const ResolvedAppearance& resolved = AppearanceState::instance().resolved();
    return resolved.accent.isValid() ? resolved.accent
                                     : resolved.color(QStringLiteral("MainTextColor"));
}

bool Resources::rightToLeftApplication() const {
    return QGuiApplication::layoutDirection() == Qt::RightToLeft;
}

QUrl Resources::image(const QString& name) const {
    const QString path = QStringLiteral(":/VelaWidget/images/") + name + QStringLiteral(".svg");
    if (!QFile::exists(path)) return {};
    return QUrl(QStringLiteral("qrc") + path);
}

}  // namespace velawidget
