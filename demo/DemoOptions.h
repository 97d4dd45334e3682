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
    /// Run as the stand-in bank app that received this link.
    QString bankAppLink;
    QString link;
};

/// Parses the arguments after the program name; none with the reason on failure.
std::optional<DemoOptions> parseDemoOptions(const QStringList& arguments, QString& problem);

inline constexpr const char* demoUsage =
    "usage: vela-demo [--connect-to ADDRESS:PORT] [--cacert FILE] [--caches-dir DIR]\n"
    "                 [--screenshots DIR] [--link PAYMENT-LINK]\n"
    "       vela-demo --bank-app LINK";

}  // namespace vela::demo
