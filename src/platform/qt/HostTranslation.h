#pragma once

#include <QByteArray>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace velawidget::quick {

/// A host's translation file larger than this is not read: the kit's own
/// tables, a dozen short texts per language, take a few kilobytes.
inline constexpr std::int64_t maxHostTranslationBytes = std::int64_t{4} * 1024 * 1024;

/// The bytes of a host's compiled translation file (.qm), read whole, or
/// nothing when it is not a regular file, cannot be read, is larger than
/// `maxHostTranslationBytes` or is not a compiled translation a QTranslator
/// can read safely (see `qmStructureFault`). Each refusal composes a debug line.
std::optional<QByteArray> readHostTranslation(const std::filesystem::path& file);

}  // namespace velawidget::quick
