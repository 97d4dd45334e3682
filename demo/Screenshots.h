#pragma once

#include <velawidget/BankSelectorController.h>
#include <velawidget/quick/Appearance.h>

#include <QString>
#include <memory>
#include <optional>

namespace vela::demo {

/// A selector for `link` at the screen's natural size, not shown yet; none
/// (with the reason on stderr) when the link is refused.
std::unique_ptr<velawidget::BankSelectorController> offscreenSelector(const QString& link);

/// Without a display: opens the selector offscreen for `link`, writes
/// selector-light.png, selector-dark.png and selector-search.png into `dir`,
/// prints the data-only query's answer, and returns the exit status. With a
/// `locale` (as given to --locale) the light one is also written as
/// selector-LOCALE.png, so the languages' pictures stand side by side. With
/// an `appearance` the light scheme is also written in it, as
/// selector-appearance.png; the other pictures keep the kit's own look.
int renderScreenshots(const QString& link, const QString& dir, const QString& locale = {},
                      const std::optional<velawidget::quick::Appearance>& appearance = {});

}  // namespace vela::demo
