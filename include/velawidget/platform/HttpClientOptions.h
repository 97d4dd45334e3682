#pragma once

#include <velawidget/platform/HttpClient.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace velawidget {

/// The settings every kit HTTP client takes; the defaults suit a shipped host.
struct HttpClientOptions {
    /// Certificates to trust as well as, or for curl instead of, the system's
    /// store (PEM file).
    std::optional<std::filesystem::path> caFile;
    /// "ADDRESS:PORT": every connection goes there, while TLS still checks the
    /// certificate against the link's own host name (as curl's --connect-to).
    /// A client throws at construction when it is not ADDRESS:PORT.
    std::optional<std::string> connectTo;
    /// A body larger than this is dropped: the request completes with none.
    std::size_t maxBodyBytes = maxBankListBytes;
    /// Ends a transfer that is still running after this long, however steadily
    /// bytes arrive, so a server dripping bytes cannot hold a fetch forever.
    std::chrono::milliseconds overallLimit = std::chrono::minutes(5);
    /// Replaces the no-progress timeout of every request, for networks slower
    /// than the kit expects or tests that must not wait a minute.
    std::optional<std::chrono::milliseconds> timeoutOverride;
    /// Sent as the User-Agent header.
    std::string userAgent = "VelaWidget";
};

}  // namespace velawidget
