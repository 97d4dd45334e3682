#pragma once

#include <algorithm>
#include <cctype>
#include <string_view>

namespace velawidget {

/// Schemes a bank link must never be handed to the system under: they reach
/// local files or run script instead of opening an app. Case does not
/// matter. Inline, because the Qt module uses it too and a shared core
/// exports only its public API.
inline bool isRefusedScheme(std::string_view scheme) {
    for (std::string_view refused : {"file", "data", "javascript"}) {
        if (scheme.size() == refused.size() &&
            std::equal(scheme.begin(), scheme.end(), refused.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == b;
            })) {
            return true;
        }
    }
    return false;
}

}  // namespace velawidget
