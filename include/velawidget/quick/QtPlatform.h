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
    /// The language of the selector's texts and the direction of its layout,
    /// as a BCP 47 name ("ar", "pt-BR" or "pt_BR"); none means the default
    /// `QLocale`. A name Qt does not know counts as none. Right-to-left
    /// languages mirror the selector.
    std::optional<std::string> locale;
    /// A compiled translation file (.qm, context "VelaWidget", the kit's
    /// keys as source texts) whose texts replace the kit's key by key; a key
    /// it lacks falls back to the kit's table for the locale, then to
    /// English. A file that is missing, unreadable, over 4 MiB or not a
    /// translation file is ignored (with a debug line).
    std::optional<std::filesystem::path> translationFile;
};

/// The kit's platform on Qt: HTTP on a QNetworkAccessManager with a disk cache
/// in the caches directory, the Qt event loop as main queue and timers, an
/// opener that reports success only when a handler for the link's scheme is
/// registered and was launched, and the kit's own translations (Arabic,
/// Chinese (Simplified), English, French, German, Greek, Portuguese,
/// Russian, Spanish, Turkish, Ukrainian).
/// Programs that link the module get it by default; call this to install it
/// with options (`installPlatform(qtPlatform(options))`) before the kit's first use.
/// Needs a `QGuiApplication`. Any thread may call it (the default is made by
/// whichever thread uses the kit first): the main queue, the timers and the
/// opener's answers always run on the application's GUI thread. Throws
/// `std::invalid_argument` when `connectTo` is not ADDRESS:PORT.
VELAWIDGET_API Platform qtPlatform(const QtPlatformOptions& options = {});

/// The colour scheme the selector draws in.
enum class ColorScheme {
    system,  ///< follows the application palette: a dark window colour means dark
    light,
    dark,
};

/// Overrides the colour scheme of every selector, shown or not, from the
/// next frame on. Main thread only.
VELAWIDGET_API void setColorScheme(ColorScheme scheme);

}  // namespace velawidget::quick
