#pragma once

#include <velawidget/export.h>
#include <velawidget/platform.h>
#include <velawidget/platform/HttpClientOptions.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace velawidget::quick {

/// Settings of the Qt platform: those of its HTTP client, and where it
/// keeps its files. The defaults suit a shipped host.
struct QtPlatformOptions : HttpClientOptions {
    /// The caches directory; none means the application's
    /// `QStandardPaths::CacheLocation`.
    std::optional<std::filesystem::path> cachesDirectory;
    /// The language of the selector's texts and the direction of its layout,
    /// as a BCP 47 name ("ar", "pt-BR" or "pt_BR"); none means the default
    /// `QLocale`. A name Qt does not know counts as none. Right-to-left
    /// languages mirror the selector.
    std::optional<std::string> locale;
    /// A compiled translation file (.qm, context "VelaWidget", the kit's
    /// keys as source texts) whose texts replace the kit's key by key; a key
    /// it lacks falls back to the kit's table for the locale, then to
    /// English. A file that is missing, unreadable, over 4 MiB, not a
    /// well-formed translation file or one that names other translation
    /// files it depends on is ignored (with a debug line).
    std::optional<std::filesystem::path> translationFile;
};

/// The kit's platform on Qt: HTTP on a QNetworkAccessManager, files in the
/// caches directory (the kit keeps logos there too), the Qt event loop as main queue and timers, an
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
VELAWIDGET_QUICK_API Platform qtPlatform(const QtPlatformOptions& options = {});

/// Switches the selector's texts and layout direction to another language
/// (a BCP 47 name, as `QtPlatformOptions::locale`; a name Qt does not know
/// means the default `QLocale`). Selectors already shown re-render at once;
/// a list message already shown keeps its words until it changes. The
/// host's translation file still wins key by key. Returns false, changing
/// nothing, when the kit's texts are not the Qt platform's (the host
/// installed a `TextLookup` of its own). Main thread only.
VELAWIDGET_QUICK_API bool setLocale(std::string_view name);

/// The colour scheme the selector draws in.
enum class ColorScheme {
    system,  ///< follows the application palette: a dark window colour means dark
    light,
    dark,
};

/// Overrides the colour scheme of every selector of the facade, shown or
/// not, from the next frame on. Makes the facade (install a platform
/// first). Main thread only.
VELAWIDGET_QUICK_API void setColorScheme(ColorScheme scheme);

}  // namespace velawidget::quick
