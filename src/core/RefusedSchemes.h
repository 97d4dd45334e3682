#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace velawidget {
namespace refused_detail {

// ASCII only: <cctype> follows the host's locale, and a Turkish one lowers
// 'I' to a dotless i, which would let "FILE" through.
constexpr char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr bool isAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
constexpr bool isSchemeCharacter(char c) {
    return isAlpha(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

}  // namespace refused_detail

/// Schemes no link may leave the kit under: they reach local files or
/// browser-internal documents, or run script, instead of opening an app or a
/// web page. Header-only: a constant list and one small check, which the
/// link builders and the Qt opener both apply.
inline constexpr std::array<std::string_view, 7> refusedSchemes = {
    "file", "data", "javascript", "vbscript", "about", "blob", "filesystem"};

/// Whether `scheme` (without the colon) is one of those, in any case.
inline bool isRefusedScheme(std::string_view scheme) {
    return std::any_of(refusedSchemes.begin(), refusedSchemes.end(), [&](std::string_view refused) {
        return scheme.size() == refused.size() &&
               std::equal(scheme.begin(), scheme.end(), refused.begin(),
                          [](char a, char b) { return refused_detail::lowerAscii(a) == b; });
    });
}

/// Whether a whole link text would be opened under a refused scheme. The text
/// is read as lenient URL readers (browsers, desktop openers) read it: blanks
/// and control characters before it are skipped and tabs and line breaks
/// inside the scheme ignored, so "  java\tscript:x" is refused like
/// "javascript:x". A text without a scheme (a relative link) is not refused.
inline bool isRefusedLink(std::string_view link) {
    std::size_t start = 0;
    while (start < link.size() && static_cast<unsigned char>(link[start]) <= 0x20) ++start;
    std::array<char, 16> scheme{};
    std::size_t length = 0;
    for (std::size_t i = start; i < link.size(); ++i) {
        const char c = link[i];
        if (c == '\t' || c == '\n' || c == '\r') continue;
        if (c == ':') return length > 0 && isRefusedScheme({scheme.data(), length});
        const bool schemeCharacter =
            length == 0 ? refused_detail::isAlpha(c) : refused_detail::isSchemeCharacter(c);
        // Longer than any refused scheme, or not a scheme at all.
        if (!schemeCharacter || length == scheme.size()) return false;
        scheme[length++] = c;
    }
    return false;
}

}  // namespace velawidget
