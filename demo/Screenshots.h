#pragma once

#include <QString>

namespace vela::demo {

/// Without a display: opens the selector offscreen for `link`, writes
/// selector-light.png, selector-dark.png and selector-search.png into `dir`,
/// prints the data-only query's answer, and returns the exit status.
int renderScreenshots(const QString& link, const QString& dir);

}  // namespace vela::demo
