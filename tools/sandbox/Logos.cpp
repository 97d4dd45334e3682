#include "Logos.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "PngImage.h"

namespace vela::sandbox {
namespace {

Rgba colourOf(std::string_view key) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (const unsigned char byte : key) hash = (hash ^ byte) * 16777619u;
    // Dark enough for the white letters to stand out on every tile.
    return {static_cast<std::uint8_t>(40 + (hash >> 8) % 130),
            static_cast<std::uint8_t>(40 + (hash >> 16) % 130),
            static_cast<std::uint8_t>(40 + (hash >> 24) % 130), 255};
}

std::vector<char32_t> codePoints(std::string_view text) {
    std::vector<char32_t> points;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    for (std::int32_t i = 0; i < length;) {
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        if (c >= 0) points.push_back(static_cast<char32_t>(c));
    }
    return points;
}

void appendUtf8(std::string& out, char32_t c) {
    std::uint8_t buffer[U8_MAX_LENGTH];
    std::int32_t length = 0;
    UBool error = false;
    U8_APPEND(buffer, length, U8_MAX_LENGTH, static_cast<UChar32>(c), error);
    if (!error) out.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(length));
}

}  // namespace

std::string initialsOf(std::string_view bankName) {
    std::string initials;
    int count = 0;
    bool inWord = false;
    for (const char32_t c : codePoints(bankName)) {
        if (u_isUWhiteSpace(static_cast<UChar32>(c))) {
            inWord = false;
            continue;
        }
        if (inWord) continue;
        inWord = true;
        if (!u_isalnum(static_cast<UChar32>(c))) continue;
        appendUtf8(initials, static_cast<char32_t>(u_toupper(static_cast<UChar32>(c))));
        if (++count == 2) break;
    }
    return initials;
}

std::string svgLogo(std::string_view key, std::string_view initials) {
    const Rgba c = colourOf(key);
    char head[384];
    std::snprintf(head, sizeof head,
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\" "
                  "viewBox=\"0 0 100 100\"><rect width=\"100\" height=\"100\" rx=\"24\" "
                  "fill=\"#%02x%02x%02x\"/><text x=\"50\" y=\"64\" font-family=\"sans-serif\" "
                  "font-size=\"42\" font-weight=\"bold\" fill=\"#ffffff\" "
                  "text-anchor=\"middle\">",
                  c.red, c.green, c.blue);
    // Letters and digits only, so nothing in them needs escaping.
    return std::string(head) + std::string(initials) + "</text></svg>\n";
}

std::string pngLogo(std::string_view key, std::string_view initials) {
    constexpr int side = 64;
    RgbaImage image(side, side);
    image.fillRoundedRect(colourOf(key), side / 4);
    auto letters = codePoints(initials);
    // Drawn left to right, so a right-to-left name's initials go in reverse.
    if (!letters.empty()) {
        const auto direction = u_charDirection(static_cast<UChar32>(letters.front()));
        if (direction == U_RIGHT_TO_LEFT || direction == U_RIGHT_TO_LEFT_ARABIC) {
            std::reverse(letters.begin(), letters.end());
        }
    }
    image.drawCentredText(letters, 26, {255, 255, 255, 255});
    return image.png();
}

}  // namespace vela::sandbox
