#pragma once

#include <velawidget/export.h>
#include <velawidget/platform.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace velawidget::quick {

/// Settings of the Qt platform; the defaults suit a shipped host.
struct QtPlatformOptions {
    /// The caches directory; none means the application's
    /// `QStandardPaths::CacheLocation`.
    std::optional<std::filesystem::path> cachesDirectory;
    /// Certificates to trust in addition to the system's store (PEM file).
    std::optional<std::filesystem::path> caFile;
    /// "ADDRESS:PORT": every connection goes there, while TLS still checks the
    /// certificate against the link's own host name.
    std::optional<std::string> connectTo;
    /// A body larger than this is dropped: the request completes with none.
    std::size_t maxBodyBytes = maxBankListBytes;
    /// A fetch still running after this long ends with no body.
    std::chrono::milliseconds overallLimit = std::chrono::minutes(5);
    /// Replaces the no-progress timeout of every request (slow networks, tests).
    std::optional<std::chrono::milliseconds> timeoutOverride;
    /// Sent as the User-Agent header.
    std::string userAgent = "VelaWidget";
};

/// The kit's platform on Qt: HTTP on a QNetworkAccessManager with a disk cache
/// in the caches directory, the Qt event loop as main queue and timers, an
/// opener that reports success only when a handler for the link's scheme is
/// registered and was launched, and the kit's own translations.
/// Programs that link the module get it by default; call this to install it
/// with options (`installPlatform(qtPlatform(options))`) before the kit's first use.
/// Needs a `QGuiApplication`. Any thread may call it (the default is made by
/// whichever thread uses the kit first): the main queue, the timers and the
/// opener's answers always run on the application's GUI thread. Throws
/// `std::invalid_argument` when `connectTo` is not ADDRESS:PORT.
VELAWIDGET_QUICK_API Platform qtPlatform(const QtPlatformOptions& options = {});

/// The colour scheme the selector draws in.
enum class ColorScheme {
    system,  ///< follows the application palette: a dark window colour means dark
    light,
    dark,
};

/// Overrides the colour scheme of every selector, shown or not, from the
/// next frame on. Main thread only.
VELAWIDGET_QUICK_API void setColorScheme(ColorScheme scheme);

}  // namespace velawidget::quick
