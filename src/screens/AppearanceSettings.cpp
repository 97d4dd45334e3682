#include "screens/AppearanceSettings.h"

#include <velawidget/quick/Appearance.h>

#include <QColor>
#include <QJsonObject>

#include "screens/AppearanceReader.h"
#include "screens/AppearanceState.h"
#include "screens/EngineKit.h"

namespace velawidget {
namespace {

// A QML `color` in the map would reach JSON as an object; the reader takes
// its "#aarrggbb" text.
QVariantMap withColorsAsText(QVariantMap map) {
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (it->typeId() == QMetaType::QVariantMap) {
            *it = withColorsAsText(it->toMap());
        } else if (it->typeId() == QMetaType::QColor) {
            *it = it->value<QColor>().name(QColor::HexArgb);
        }
    }
    return map;
}

}  // namespace

AppearanceSettings* AppearanceSettings::create(QQmlEngine* engine, QJSEngine*) {
    return new AppearanceSettings(EngineKit::of(*engine).appearance());
}

bool AppearanceSettings::apply(const QVariantMap& appearance) {
    QString problem;
    const auto read =
        readAppearance(QJsonObject::fromVariantMap(withColorsAsText(appearance)), problem);
    if (!read) {
        qWarning("VelaWidget Appearance.apply: %s", qPrintable(problem));
        return false;
    }
    appearance_.setAppearance(*read);
    return true;
}

void AppearanceSettings::reset() {
    appearance_.setAppearance({});
}

}  // namespace velawidget
