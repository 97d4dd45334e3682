#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vela::sandbox {

/// How the sandbox misbehaves when asked for a bank list.
struct FaultMode {
    enum class Kind { none, drop, delay, status, truncate, garbage, empty, huge, slow };
    Kind kind = Kind::none;
    int value = 0;  ///< milliseconds for delay, the code for status

    /// "none", "drop", "delay:MS", "status:CODE", "truncate", "garbage",
    /// "empty", "huge" or "slow"; anything else is none of them.
    static std::optional<FaultMode> parse(std::string_view text);
    std::string describe() const;
};

}  // namespace vela::sandbox
