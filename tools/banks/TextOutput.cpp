#include "TextOutput.h"

#include <algorithm>
#include <cstddef>
#include <ostream>

namespace vela::banks {
namespace {

std::size_t displayWidth(std::string_view text) {
    // Continuation bytes of UTF-8 take no column of their own.
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

/// Length of the well-formed UTF-8 sequence at the start of `text` and its
/// code point, or 0 when the bytes there are not one.
std::size_t decodeOne(std::string_view text, char32_t& codePoint) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3Fu);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (codePoint < minimum || codePoint > 0x10FFFF || surrogate) return 0;
    return length;
}

/// What a terminal acts on instead of showing: C0 and C1 controls (ESC and
/// CSI start escape sequences; a lone 0x9B byte is CSI to an 8-bit terminal,
/// hence the UTF-8 check) and the bidirectional overrides that reorder a line.
bool actsOnTerminal(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

}  // namespace

std::string printable(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    while (!text.empty()) {
        char32_t codePoint = 0;
        const std::size_t length = decodeOne(text, codePoint);
        if (length == 0 || actsOnTerminal(codePoint)) {
            result += '?';
            text.remove_prefix(length == 0 ? 1 : length);
            continue;
        }
        result.append(text.substr(0, length));
        text.remove_prefix(length);
    }
    return result;
}

std::string printableJson(std::string_view json) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string result;
    result.reserve(json.size());
    while (!json.empty()) {
        char32_t codePoint = 0;
        const std::size_t length = decodeOne(json, codePoint);
        if (length == 0) codePoint = 0xFFFD;  // a serializer emits none; keep the text JSON
        if (length == 0 || actsOnTerminal(codePoint)) {
            // Outside strings a JSON text is plain ASCII, so these are inside one.
            result += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4) result += hex[(codePoint >> shift) & 0xFu];
        } else {
            result.append(json.substr(0, length));
        }
        json.remove_prefix(length == 0 ? 1 : length);
    }
    return result;
}

void printTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        if (widths.size() < row.size()) widths.resize(row.size());
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], displayWidth(row[i]));
        }
    }
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) line.append(widths[i] - displayWidth(row[i]) + 2, ' ');
        }
        out << line << '\n';
    }
}

}  // namespace vela::banks
