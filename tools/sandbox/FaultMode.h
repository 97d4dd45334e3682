#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vela::sandbox {

/// How the sandbox misbehaves when asked for a bank list.
struct FaultMode {
    enum class Kind {
        none,
        drop,
        delay,
        status,
        truncate,
        garbage,
        empty,
        huge,
        slow,
        gzipBomb,
        hugeHeaders,
        trickleHeaders,
    };
    Kind kind = Kind::none;
    int value = 0;  ///< milliseconds for delay, the code for status
    /// status only: the code comes with the garbage body instead of the
    /// document, as a failing server's error page would.
    bool garbageBody = false;

    /// "none", "drop", "delay:MS", "status:CODE", "status:CODE:garbage",
    /// "truncate", "garbage", "empty", "huge", "slow", "gzip-bomb",
    /// "huge-headers" or "trickle-headers"; anything else is none of them.
    static std::optional<FaultMode> parse(std::string_view text);
    std::string describe() const;
};

}  // namespace vela::sandbox
