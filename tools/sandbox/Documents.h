#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vela::sandbox {

/// The bank-list documents the sandbox serves, by link kind ("qr", "sub").
struct Documents {
    std::string qr;
    std::string sub;

    /// The documents built into the program.
    static Documents builtIn();
    /// qr.json and sub.json from a directory; none when either is missing.
    static std::optional<Documents> fromDirectory(const std::string& directory);
};

}  // namespace vela::sandbox
