#pragma once

#include <velawidget/quick/Appearance.h>

#include <QString>
#include <optional>

namespace vela::demo {

/// The appearance in the JSON file at `path`; none, with the reason in
/// `problem`, when the file cannot be read, is too large or does not fit the
/// format of `velawidget::quick::appearanceFromJson`.
std::optional<velawidget::quick::Appearance> readAppearanceFile(const QString& path,
                                                                QString& problem);

}  // namespace vela::demo
