#pragma once

#include <velawidget/export.h>

#include <cstdint>
#include <optional>
#include <string>

namespace velawidget::quick {

/// An sRGB colour with 8-bit components; `a` 255 is opaque.
struct Rgba {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;

    friend bool operator==(const Rgba&, const Rgba&) = default;
};

/// An opaque colour written as hex digits, the way a style sheet names it:
/// `rgb(0xf4f1ea)`.
constexpr Rgba rgb(std::uint32_t rrggbb, std::uint8_t alpha = 255) {
    return {static_cast<std::uint8_t>(rrggbb >> 16), static_cast<std::uint8_t>(rrggbb >> 8),
            static_cast<std::uint8_t>(rrggbb), alpha};
}

/// The selector's five named colours in one scheme. An absent colour is the
/// kit's own.
struct SchemeColors {
    /// "MainTextColor": bank names, the explanation, search text and symbol,
    /// button labels, and the focus ring when there is no accent.
    std::optional<Rgba> mainText;
    /// "SecondaryTextColor": the list's message and the outdated-list line.
    std::optional<Rgba> secondaryText;
    /// "MainBackground": the whole screen and the alert.
    std::optional<Rgba> mainBackground;
    /// "SecondaryBackground": logo placeholders, loading bars, the hover tint.
    std::optional<Rgba> secondaryBackground;
    /// "PlaceholderBackground": rows, the search bar and buttons.
    std::optional<Rgba> placeholderBackground;

    friend bool operator==(const SchemeColors&, const SchemeColors&) = default;
};

/// How the selector looks, beyond the light or dark scheme
/// (`setColorScheme`). A default-made `Appearance` is the kit's own look:
/// its colours, the application's font, its sizes and corners.
struct Appearance {
    SchemeColors light;
    SchemeColors dark;
    /// The shop's colour, in both schemes: the keyboard focus ring, the tint
    /// of a pressed row or button, and a thin border round every button at
    /// rest. None keeps the kit's (the main text colour for the ring, the
    /// secondary background for the tint, no border).
    std::optional<Rgba> accent;
    /// The corners of rows, the search bar, buttons, logo tiles and the
    /// alert, in device-independent pixels, clamped to 0-32; the loading bars
    /// keep two thirds of it. None is the kit's 12.
    std::optional<double> cornerRadius;
    /// The font family of every text; none or empty is the application's
    /// font (`QGuiApplication::font()`). A family the system lacks falls back
    /// as Qt's font matching does.
    std::optional<std::string> fontFamily;
    /// Multiplies every text size (18 for bank names, 14 for the explanation,
    /// the search row and messages, 12 for small print), clamped to 0.5-3;
    /// the search bar and buttons grow with it. Not a number counts as 1.
    double fontScale = 1.0;

    friend bool operator==(const Appearance&, const Appearance&) = default;
};

/// Sets how every selector of the facade looks, shown or not, from the next
/// frame on; `setAppearance({})` restores the kit's look. Makes the facade
/// (install a platform first). Main thread only.
VELAWIDGET_QUICK_API void setAppearance(const Appearance& appearance);

/// The appearance last set, as it was given; a default one before any.
/// Main thread only.
VELAWIDGET_QUICK_API Appearance appearance();

/// Reads an appearance from JSON text of this shape (every key optional):
///
///     {"light": {"MainBackground": "#f4f1ea", "MainTextColor": "#1f2a24"},
///      "dark": {"MainBackground": "#17201b"},
///      "accent": "#2a6f4e", "cornerRadius": 4,
///      "fontFamily": "DejaVu Serif", "fontScale": 1.25}
///
/// Colours are "#rrggbb" or, with alpha first as in Qt and QML, "#aarrggbb".
/// The colour names are the five of `SchemeColors`. Throws
/// `std::invalid_argument` naming the first fault for text over 64 KiB,
/// text that is not a JSON object, an unknown key, or a value of the wrong
/// kind. Any thread.
VELAWIDGET_QUICK_API Appearance appearanceFromJson(const std::string& json);

}  // namespace velawidget::quick
