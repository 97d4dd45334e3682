#include "screens/SharedSelector.h"

#include <QQmlEngine>
#include <array>
#include <utility>

#include "screens/AppearanceState.h"
#include "screens/EngineKit.h"
#include "screens/LocaleSwitch.h"

namespace velawidget {
namespace {

constexpr std::array<std::pair<quick::ColorScheme, const char*>, 3> schemeNames{{
    {quick::ColorScheme::system, "system"},
    {quick::ColorScheme::light, "light"},
    {quick::ColorScheme::dark, "dark"},
}};

}  // namespace

SharedSelector::SharedSelector(QQmlEngine& engine) : kit_(EngineKit::of(engine)) {
    scheme_ = kit_.appearance().colorScheme();
    model_ = new WidgetViewBridge(kit_.services().model, this);
    // The C++ call changes the same scheme.
    connect(&kit_.appearance(), &AppearanceState::changed, this, &SharedSelector::noteScheme);
}

SharedSelector* SharedSelector::create(QQmlEngine* engine, QJSEngine*) {
    return new SharedSelector(*engine);
}

QString SharedSelector::colorScheme() const {
    for (const auto& [scheme, name] : schemeNames) {
        if (scheme == scheme_) return QString::fromLatin1(name);
    }
    return {};
}

void SharedSelector::setColorScheme(const QString& scheme) {
    for (const auto& [value, name] : schemeNames) {
        if (scheme != QLatin1String(name)) continue;
        kit_.appearance().setOverride(value);
        return;
    }
    qWarning(
        "VelaWidget SharedSelector.colorScheme: \"%s\" is none of \"system\", \"light\", "
        "\"dark\"; the scheme stays \"%s\"",
        qPrintable(scheme), qPrintable(colorScheme()));
}

void SharedSelector::noteScheme() {
    const auto now = kit_.appearance().colorScheme();
    if (now == scheme_) return;
    scheme_ = now;
    Q_EMIT colorSchemeChanged();
}

bool SharedSelector::setLocale(const QString& name) {
    return switchLocale(*kit_.services().model, name.toStdString());
}

}  // namespace velawidget
