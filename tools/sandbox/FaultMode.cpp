#include <charconv>

#include "Faults.h"

namespace vela::sandbox {

std::optional<FaultMode> FaultMode::parse(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.remove_suffix(1);
    }
    const auto colon = text.find(':');
    const std::string_view name = text.substr(0, colon);
    for (const Fault& fault : faults()) {
        if (name != fault.name) continue;
        if (fault.value == FaultValue::none) {
            if (colon != std::string_view::npos) return std::nullopt;
            return FaultMode{&fault};
        }
        if (colon == std::string_view::npos) return std::nullopt;
        std::string_view digits = text.substr(colon + 1);
        bool garbageBody = false;
        if (fault.value == FaultValue::statusCode && digits.ends_with(":garbage")) {
            digits.remove_suffix(std::string_view(":garbage").size());
            garbageBody = true;
        }
        int value = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (error != std::errc{} || end != digits.data() + digits.size() || value < 0) {
            return std::nullopt;
        }
        if (fault.value == FaultValue::statusCode && (value < 100 || value > 599)) {
            return std::nullopt;
        }
        return FaultMode{&fault, value, garbageBody};
    }
    return std::nullopt;
}

std::string FaultMode::describe() const {
    std::string text(fault->name);
    // Appended piece by piece: GCC 12 at -O3 takes ":" + std::to_string(...)
    // for an overlapping copy (-Wrestrict), which fails the optimised build.
    if (fault->value != FaultValue::none) {
        text += ':';
        text += std::to_string(value);
    }
    if (garbageBody) text += ":garbage";
    return text;
}

}  // namespace vela::sandbox
