#include "Logos.h"

#include <array>
#include <cstdio>

namespace vela::sandbox {
namespace {

struct Colour {
    std::uint8_t red, green, blue;
};

Colour colourOf(std::uint32_t number) {
    // Spread neighbouring numbers far apart on the colour wheel.
    const std::uint32_t hash = number * 2654435761u;
    return {static_cast<std::uint8_t>(64 + (hash >> 8) % 160),
            static_cast<std::uint8_t>(64 + (hash >> 16) % 160),
            static_cast<std::uint8_t>(64 + (hash >> 24) % 160)};
}

std::uint32_t crc32(const std::string& bytes, std::size_t from) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xffffffffu;
    for (std::size_t i = from; i < bytes.size(); ++i) {
        c = table[(c ^ static_cast<std::uint8_t>(bytes[i])) & 0xff] ^ (c >> 8);
    }
    return c ^ 0xffffffffu;
}

void put32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xff);
}

void chunk(std::string& png, const char* type, const std::string& data) {
    put32(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png += type;
    png += data;
    put32(png, crc32(png, start));
}

}  // namespace

std::string svgLogo(std::uint32_t number) {
    const Colour c = colourOf(number);
    const char letters[] = {static_cast<char>('A' + number % 26),
                            static_cast<char>('A' + (number / 26) % 26), 0};
    char svg[512];
    std::snprintf(svg, sizeof svg,
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\" "
                  "viewBox=\"0 0 100 100\"><rect width=\"100\" height=\"100\" rx=\"24\" "
                  "fill=\"#%02x%02x%02x\"/><text x=\"50\" y=\"64\" font-family=\"sans-serif\" "
                  "font-size=\"42\" font-weight=\"bold\" fill=\"#ffffff\" "
                  "text-anchor=\"middle\">%s</text></svg>\n",
                  c.red, c.green, c.blue, letters);
    return svg;
}

std::string pngLogo(std::uint32_t number) {
    constexpr std::uint32_t side = 64;
    const Colour c = colourOf(number);
    // Raw scanlines (filter byte 0, then RGB), kept in one stored deflate block.
    std::string raw;
    for (std::uint32_t y = 0; y < side; ++y) {
        raw += '\0';
        for (std::uint32_t x = 0; x < side; ++x) {
            raw += static_cast<char>(c.red);
            raw += static_cast<char>(c.green);
            raw += static_cast<char>(c.blue);
        }
    }
    std::string zlib = "\x78\x01";
    zlib += '\x01';  // final stored block
    const auto length = static_cast<std::uint16_t>(raw.size());
    zlib += static_cast<char>(length & 0xff);
    zlib += static_cast<char>(length >> 8);
    zlib += static_cast<char>(~length & 0xff);
    zlib += static_cast<char>((~length >> 8) & 0xff);
    zlib += raw;
    std::uint32_t a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    put32(zlib, (b << 16) | a);

    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    put32(header, side);
    put32(header, side);
    header += "\x08\x02";  // 8 bits per channel, RGB
    header += std::string(3, '\0');
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", zlib);
    chunk(png, "IEND", "");
    return png;
}

}  // namespace vela::sandbox
