#include "quick/SharedSelector.h"

#include <QQmlEngine>
#include <array>
#include <utility>

#include "quick/QuickPresenter.h"
#include "screens/AppearanceState.h"

namespace velawidget {
namespace {

constexpr std::array<std::pair<quick::ColorScheme, const char*>, 3> schemeNames{{
    {quick::ColorScheme::system, "system"},
    {quick::ColorScheme::light, "light"},
    {quick::ColorScheme::dark, "dark"},
}};

}  // namespace

SharedSelector::SharedSelector(QQmlEngine& engine)
    : scheme_(AppearanceState::instance().colorScheme()) {
    const auto& services = QuickPresenter::instance().services();
    prepareEngine(engine, services);
    model_ = new WidgetViewBridge(services.model, this);
    // The C++ call changes the same scheme.
    connect(&AppearanceState::instance(), &AppearanceState::changed, this,
            &SharedSelector::noteScheme);
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
        quick::setColorScheme(value);
        return;
    }
    qWarning(
        "VelaWidget SharedSelector.colorScheme: \"%s\" is none of \"system\", \"light\", "
        "\"dark\"; the scheme stays \"%s\"",
        qPrintable(scheme), qPrintable(colorScheme()));
}

void SharedSelector::noteScheme() {
    const auto now = AppearanceState::instance().colorScheme();
    if (now == scheme_) return;
    scheme_ = now;
    Q_EMIT colorSchemeChanged();
}

bool SharedSelector::setLocale(const QString& name) {
    return quick::setLocale(name.toStdString());
}

}  // namespace velawidget
