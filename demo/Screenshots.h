#pragma once

#include <QString>

namespace vela::demo {

/// Without a display: opens the selector offscreen for `link`, writes
/// selector-light.png, selector-dark.png and selector-search.png into `dir`,
/// prints the data-only query's answer, and returns the exit status. With a
/// `locale` (as given to --locale) the light one is also written as
/// selector-LOCALE.png, so the languages' pictures stand side by side.
int renderScreenshots(const QString& link, const QString& dir, const QString& locale = {});

}  // namespace vela::demo
