#pragma once

#include <QString>

namespace vela::demo {

/// Without a display: opens the selector offscreen for `link`, switches it
/// to the "pay with your phone" view and writes that frame to `path` as PNG.
/// Returns the exit status.
int renderPhoneCode(const QString& link, const QString& path);

}  // namespace vela::demo
