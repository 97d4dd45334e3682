#pragma once

#include <QString>
#include <optional>

namespace vela::demo {

/// What the demo was asked to do, from its command line.
struct DemoOptions {
    QString connectTo;
    QString caFile;
    QString cachesDir;
    /// Render the selector offscreen into this folder instead of opening windows.
    QString screenshotDir;
    /// Render the selector's "pay with your phone" view offscreen to this PNG and stop.
    QString phoneCodePng;
    /// Run as the stand-in bank app that received this link.
    QString bankAppLink;
    /// The payment link to start with; the QR sample when none.
    QString link;
    /// The locale the selector speaks and lays out in, e.g. "de" or "ar" (right to left).
    QString locale;
    /// A JSON file with the selector's colours, corners and font (`appearanceFromJson`).
    QString appearanceFile;
    /// A dark application palette, as a dark desktop theme gives; the selector follows it.
    bool dark = false;
};

/// Parses the arguments after the program name, once Qt has taken its own
/// (`-reverse`, `-platform NAME`, ...); none with the reason on failure.
std::optional<DemoOptions> parseDemoOptions(const QStringList& arguments, QString& problem);

inline constexpr const char* demoUsage =
    "usage: vela-demo [--connect-to ADDRESS:PORT] [--cacert FILE] [--caches-dir DIR]\n"
    "                 [--screenshots DIR] [--qr-png FILE] [--link PAYMENT-LINK] [--locale NAME]\n"
    "                 [--dark] [--appearance FILE]\n"
    "                 [QT-OPTIONS]\n"
    "       vela-demo --bank-app LINK\n"
    "--locale NAME: the selector's language and direction (de, ar, he, ...).\n"
    "--appearance FILE: the selector's colours, corners and font from a JSON file\n"
    "                   (demo/appearance-sample.json shows every key).\n"
    "Qt's own options work too, e.g. -reverse or -platform NAME.";

/// Whether the raw command line, before Qt took its options, names `flag`.
bool mentionsFlag(int argc, char** argv, const char* flag);

}  // namespace vela::demo
