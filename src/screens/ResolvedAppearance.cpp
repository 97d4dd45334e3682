#include "screens/ResolvedAppearance.h"

#include <algorithm>
#include <cmath>

#include "screens/ColorCatalogue.h"
#include "screens/SchemeColorFields.h"

namespace velawidget {

namespace {

QColor toColor(const quick::Rgba& c) {
    return QColor(c.r, c.g, c.b, c.a);
}

}  // namespace

ResolvedAppearance resolveAppearance(const quick::Appearance& appearance, bool dark) {
    ResolvedAppearance resolved;
    const quick::SchemeColors& overrides = dark ? appearance.dark : appearance.light;
    for (const auto& entry : schemeColorFields) {
        const QString name = QString::fromLatin1(entry.name);
        const auto& given = overrides.*entry.field;
        const NamedColor& kit = namedColor(name);
        resolved.colors.insert(name, given ? toColor(*given) : dark ? kit.dark : kit.light);
    }
    if (appearance.accent) resolved.accent = toColor(*appearance.accent);
    // NaN fails both comparisons of clamp's contract, so it is sorted out first.
    if (appearance.cornerRadius && !std::isnan(*appearance.cornerRadius)) {
        resolved.cornerRadius = std::clamp(*appearance.cornerRadius, 0.0, maxCornerRadius);
    }
    if (appearance.fontFamily) resolved.fontFamily = QString::fromStdString(*appearance.fontFamily);
    if (!std::isnan(appearance.fontScale)) {
        resolved.fontScale = std::clamp(appearance.fontScale, minFontScale, maxFontScale);
    }
    return resolved;
}

}  // namespace velawidget
