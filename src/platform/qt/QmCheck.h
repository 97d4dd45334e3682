#pragma once

#include <QByteArray>
#include <optional>
#include <string>

namespace velawidget::quick {

/// Why `bytes` cannot be handed to a QTranslator, or nothing when they can.
/// QTranslator trusts a compiled translation's offsets and lengths when it
/// looks a text up, so every block and every offset it will follow is
/// checked against the bytes here first: the magic number; each block's tag
/// and big-endian length; the context table and the chains it points into;
/// the hash table's entries and each message record they point at. A
/// dependencies block is refused whole: QTranslator would load the files it
/// names itself, unchecked, and a file naming itself recurses without end.
std::optional<std::string> qmStructureFault(const QByteArray& bytes);

}  // namespace velawidget::quick
