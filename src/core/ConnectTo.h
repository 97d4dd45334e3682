#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <variant>

namespace velawidget {

/// Where every connection of a connect-to option goes.
struct ConnectTo {
    std::string address;  ///< as written, brackets of an IPv6 address included
    std::uint16_t port = 0;
};

/// Reads "ADDRESS:PORT" (port 1 to 65535); otherwise the reason, for the
/// HTTP client to report in its own exception. Header-only: one small parser
/// that both client libraries compile in.
inline std::variant<ConnectTo, std::string> parseConnectTo(const std::string& target) {
    const auto colon = target.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == target.size()) {
        return "connect-to must be ADDRESS:PORT, got \"" + target + "\"";
    }
    unsigned port = 0;
    const char* first = target.data() + colon + 1;
    const char* last = target.data() + target.size();
    const auto [end, error] = std::from_chars(first, last, port);
    if (error != std::errc{} || end != last || port == 0 || port > 65535) {
        return "connect-to port must be 1 to 65535, got \"" + target + "\"";
    }
    return ConnectTo{target.substr(0, colon), static_cast<std::uint16_t>(port)};
}

}  // namespace velawidget
