#pragma once

#include <string>

namespace velawidget::quick {

/// What came of handing a link to the handler registered for its scheme.
struct SchemeHandlerLaunch {
    enum class Outcome { launched, noHandler, failed };
    Outcome outcome = Outcome::noHandler;
    /// The handler's desktop id when one was found, and the reason of a failed launch.
    std::string detail;
};

/// Looks up the desktop's default handler for `scheme` (the
/// `x-scheme-handler/SCHEME` association of the XDG MIME applications
/// registry, read through GIO) and launches it with `url`. Blocks for the
/// lookup and the spawn, so it belongs off the GUI thread; safe to call from
/// any thread.
SchemeHandlerLaunch launchSchemeHandler(const std::string& scheme, const std::string& url);

}  // namespace velawidget::quick
