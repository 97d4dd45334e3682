#include "PngImage.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

namespace vela::sandbox {
namespace {

struct Glyph {
    int left = 0, top = 0, width = 0, rows = 0, advance = 0;
    std::vector<std::uint8_t> coverage;  // rows x width
};

struct FreeType {
    FT_Library library = nullptr;
    FreeType() { FT_Init_FreeType(&library); }
    ~FreeType() {
        if (library != nullptr) FT_Done_FreeType(library);
    }
    FreeType(const FreeType&) = delete;
    FreeType& operator=(const FreeType&) = delete;
};

using Face = std::unique_ptr<FT_FaceRec_, decltype(&FT_Done_Face)>;

/// The bold sans-serif face fontconfig picks for the letter, if any.
Face faceFor(FT_Library library, char32_t letter) {
    Face none(nullptr, &FT_Done_Face);
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:bold"));
    if (pattern == nullptr) return none;
    FcCharSet* letters = FcCharSetCreate();
    FcCharSetAddChar(letters, letter);
    FcPatternAddCharSet(pattern, FC_CHARSET, letters);
    FcCharSetDestroy(letters);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return none;
    FcChar8* file = nullptr;
    int index = 0;
    FT_Face face = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        if (FT_New_Face(library, reinterpret_cast<const char*>(file), index, &face) != 0) {
            face = nullptr;
        }
    }
    FcPatternDestroy(match);
    return Face(face, &FT_Done_Face);
}

std::optional<Glyph> render(FT_Library library, char32_t letter, int pixelSize) {
    const Face face = faceFor(library, letter);
    if (!face || FT_Set_Pixel_Sizes(face.get(), 0, static_cast<FT_UInt>(pixelSize)) != 0) {
        return std::nullopt;
    }
    const FT_UInt index = FT_Get_Char_Index(face.get(), letter);
    if (index == 0 || FT_Load_Glyph(face.get(), index, FT_LOAD_RENDER) != 0) return std::nullopt;
    const FT_GlyphSlot slot = face->glyph;
    if (slot->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return std::nullopt;
    Glyph glyph{slot->bitmap_left,
                slot->bitmap_top,
                static_cast<int>(slot->bitmap.width),
                static_cast<int>(slot->bitmap.rows),
                static_cast<int>(slot->advance.x >> 6),
                {}};
    for (int row = 0; row < glyph.rows; ++row) {
        const unsigned char* line = slot->bitmap.buffer + row * slot->bitmap.pitch;
        glyph.coverage.insert(glyph.coverage.end(), line, line + glyph.width);
    }
    return glyph;
}

void put32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xff);
}

void chunk(std::string& png, const char* type, const std::string& data) {
    put32(png, static_cast<std::uint32_t>(data.size()));
    std::string typed(type);
    typed += data;
    png += typed;
    put32(png, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()),
                                                static_cast<uInt>(typed.size()))));
}

}  // namespace

RgbaImage::RgbaImage(int width, int height)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width * height), Rgba{0, 0, 0, 0}) {}

void RgbaImage::blend(int x, int y, Rgba colour, std::uint8_t coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage == 0) return;
    Rgba& pixel = pixels_[static_cast<std::size_t>(y * width_ + x)];
    const int a = coverage * colour.alpha / 255;
    auto mix = [a](std::uint8_t under, std::uint8_t over) {
        return static_cast<std::uint8_t>((over * a + under * (255 - a)) / 255);
    };
    pixel = {mix(pixel.red, colour.red), mix(pixel.green, colour.green),
             mix(pixel.blue, colour.blue),
             static_cast<std::uint8_t>(a + pixel.alpha * (255 - a) / 255)};
}

void RgbaImage::fillRoundedRect(Rgba colour, int radius) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            // Distance past the corner circle's centre, for pixels in a corner.
            const double cx = std::clamp(x + 0.5, 1.0 * radius, 1.0 * (width_ - radius));
            const double cy = std::clamp(y + 0.5, 1.0 * radius, 1.0 * (height_ - radius));
            const double outside = std::hypot(x + 0.5 - cx, y + 0.5 - cy) - radius;
            const double coverage = std::clamp(0.5 - outside, 0.0, 1.0);
            blend(x, y, colour, static_cast<std::uint8_t>(coverage * 255));
        }
    }
}

void RgbaImage::drawCentredText(const std::vector<char32_t>& letters, int pixelSize, Rgba colour) {
    FcInit();
    const FreeType freeType;
    if (freeType.library == nullptr) return;
    std::vector<Glyph> glyphs;
    int width = 0;
    for (const char32_t letter : letters) {
        if (auto glyph = render(freeType.library, letter, pixelSize)) {
            width += glyph->advance;
            glyphs.push_back(std::move(*glyph));
        }
    }
    // Capitals stand about seven tenths of the pixel size above the baseline.
    const int baseline = (height_ + pixelSize * 7 / 10) / 2;
    int pen = (width_ - width) / 2;
    for (const Glyph& glyph : glyphs) {
        for (int row = 0; row < glyph.rows; ++row) {
            for (int column = 0; column < glyph.width; ++column) {
                blend(pen + glyph.left + column, baseline - glyph.top + row, colour,
                      glyph.coverage[static_cast<std::size_t>(row * glyph.width + column)]);
            }
        }
        pen += glyph.advance;
    }
}

std::string RgbaImage::png() const {
    std::string raw;
    raw.reserve(static_cast<std::size_t>(height_ * (1 + 4 * width_)));
    for (int y = 0; y < height_; ++y) {
        raw += '\0';  // no filter
        for (int x = 0; x < width_; ++x) {
            const Rgba& p = pixels_[static_cast<std::size_t>(y * width_ + x)];
            raw += static_cast<char>(p.red);
            raw += static_cast<char>(p.green);
            raw += static_cast<char>(p.blue);
            raw += static_cast<char>(p.alpha);
        }
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string deflated(size, '\0');
    compress2(reinterpret_cast<Bytef*>(deflated.data()), &size,
              reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
              Z_BEST_COMPRESSION);
    deflated.resize(size);

    std::string header;
    put32(header, static_cast<std::uint32_t>(width_));
    put32(header, static_cast<std::uint32_t>(height_));
    header += "\x08\x06";  // 8 bits per channel, RGBA
    header += std::string(3, '\0');
    std::string png = "\x89PNG\r\n\x1a\n";
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", deflated);
    chunk(png, "IEND", "");
    return png;
}

}  // namespace vela::sandbox
