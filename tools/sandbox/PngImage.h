#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vela::sandbox {

struct Rgba {
    std::uint8_t red, green, blue, alpha;
};

/// A small RGBA picture, transparent to start with, that ends as PNG bytes.
class RgbaImage {
  public:
    RgbaImage(int width, int height);

    /// The whole picture as one rectangle with corners of `radius` pixels,
    /// their edges smoothed.
    void fillRoundedRect(Rgba colour, int radius);
    /// One line of text, centred both ways, in the system's bold sans-serif
    /// face (or whichever installed face has the letter). Letters no face
    /// has are left out.
    void drawCentredText(const std::vector<char32_t>& letters, int pixelSize, Rgba colour);

    /// The picture as a PNG file, deflated and checksummed by zlib.
    std::string png() const;

  private:
    void blend(int x, int y, Rgba colour, std::uint8_t coverage);

    int width_, height_;
    std::vector<Rgba> pixels_;
};

}  // namespace vela::sandbox
