#pragma once

#include <velawidget/quick/Appearance.h>

#include <QJsonObject>
#include <QString>
#include <optional>

namespace velawidget {

/// The largest appearance text read: a full one is well under 1 KiB.
inline constexpr qsizetype maxAppearanceBytes = qsizetype{64} * 1024;

/// An appearance from the JSON shape `appearanceFromJson` documents; none,
/// with the first fault in `problem`, when the object does not fit it.
std::optional<quick::Appearance> readAppearance(const QJsonObject& object, QString& problem);

}  // namespace velawidget
