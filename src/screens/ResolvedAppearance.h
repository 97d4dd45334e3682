#pragma once

#include <velawidget/quick/Appearance.h>

#include <QColor>
#include <QHash>
#include <QString>

namespace velawidget {

/// What the screens draw with in one scheme: the host's appearance laid
/// over the kit's catalogue, with every size already clamped.
struct ResolvedAppearance {
    /// Every name of `colorNames()`, overridden or the catalogue's.
    QHash<QString, QColor> colors;
    /// Invalid when the host gave no accent.
    QColor accent;
    qreal cornerRadius = 12;
    /// Empty: the application's font.
    QString fontFamily;
    qreal fontScale = 1;

    QColor color(const QString& name) const { return colors.value(name); }
    bool operator==(const ResolvedAppearance&) const = default;
};

inline constexpr qreal defaultCornerRadius = 12;
inline constexpr qreal maxCornerRadius = 32;
inline constexpr qreal minFontScale = 0.5;
inline constexpr qreal maxFontScale = 3;

ResolvedAppearance resolveAppearance(const quick::Appearance& appearance, bool dark);

}  // namespace velawidget
