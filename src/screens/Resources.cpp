#include "screens/Resources.h"

#include <QEvent>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QQmlEngine>

#include "screens/AppearanceState.h"
#include "screens/ColorCatalogue.h"
#include "screens/EngineKit.h"

namespace velawidget {

Resources::Resources(const AppearanceState& appearance, QObject* parent)
    : QObject(parent), appearance_(appearance) {
    refresh();
    connect(&appearance_, &AppearanceState::changed, this, [this] {
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

Resources* Resources::create(QQmlEngine* engine, QJSEngine*) {
    return new Resources(EngineKit::of(*engine).appearance());
}

bool Resources::eventFilter(QObject* watched, QEvent* event) {
    if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationFontChange) {
        Q_EMIT appearanceChanged();
    }
    return false;
}

bool Resources::darkScheme() const {
    return appearance_.dark();
}

void Resources::refresh() {
    const ResolvedAppearance& resolved = appearance_.resolved();
    for (const auto& name : colorNames()) colors_.insert(name, resolved.color(name));
}

qreal Resources::radius() const {
    return appearance_.resolved().cornerRadius;
}

qreal Resources::smallRadius() const {
    // The loading bar's 8 beside the rows' 12.
    return radius() * 2 / 3;
}

QString Resources::fontFamily() const {
    const QString& family = appearance_.resolved().fontFamily;
    return family.isEmpty() ? QGuiApplication::font().family() : family;
}

qreal Resources::fontScale() const {
    return appearance_.resolved().fontScale;
}

bool Resources::accented() const {
    return appearance_.resolved().accent.isValid();
}

QColor Resources::focusColor() const {
    const ResolvedAppearance& resolved = appearance_.resolved();
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
