#include "FaultMode.h"

#include <array>
#include <charconv>
#include <utility>

namespace vela::sandbox {
namespace {

using Kind = FaultMode::Kind;

constexpr std::array<std::pair<std::string_view, Kind>, 12> names{{
    {"none", Kind::none},
    {"drop", Kind::drop},
    {"delay", Kind::delay},
    {"status", Kind::status},
    {"truncate", Kind::truncate},
    {"garbage", Kind::garbage},
    {"empty", Kind::empty},
    {"huge", Kind::huge},
    {"slow", Kind::slow},
    {"gzip-bomb", Kind::gzipBomb},
    {"huge-headers", Kind::hugeHeaders},
    {"trickle-headers", Kind::trickleHeaders},
}};

}  // namespace

std::optional<FaultMode> FaultMode::parse(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.remove_suffix(1);
    }
    const auto colon = text.find(':');
    const std::string_view name = text.substr(0, colon);
    for (const auto& [known, kind] : names) {
        if (name != known) continue;
        const bool takesValue = kind == Kind::delay || kind == Kind::status;
        if (!takesValue) {
            if (colon != std::string_view::npos) return std::nullopt;
            return FaultMode{kind, 0};
        }
        if (colon == std::string_view::npos) return std::nullopt;
        std::string_view digits = text.substr(colon + 1);
        bool garbageBody = false;
        if (kind == Kind::status && digits.ends_with(":garbage")) {
            digits.remove_suffix(std::string_view(":garbage").size());
            garbageBody = true;
        }
        int value = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (error != std::errc{} || end != digits.data() + digits.size() || value < 0) {
            return std::nullopt;
        }
        if (kind == Kind::status && (value < 100 || value > 599)) return std::nullopt;
        return FaultMode{kind, value, garbageBody};
    }
    return std::nullopt;
}

std::string FaultMode::describe() const {
    for (const auto& [name, known] : names) {
        if (known != kind) continue;
        std::string text(name);
        if (kind == Kind::delay || kind == Kind::status) text += ":" + std::to_string(value);
        if (garbageBody) text += ":garbage";
        return text;
    }
    return "none";
}

}  // namespace vela::sandbox
