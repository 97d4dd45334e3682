#pragma once

#include <string>
#include <string_view>

namespace vela::sandbox {

/// Up to two capital letters for a bank: the first letter or digit of each of
/// the name's first two words ("Velmar Test Bank" gives "VT").
std::string initialsOf(std::string_view bankName);

/// A made-up logo: a rounded tile in a colour of its own for `key` (the logo's
/// path) with `initials` on it in white.
std::string svgLogo(std::string_view key, std::string_view initials);

/// The same tile as a 64x64 PNG. A letter that no installed font draws is
/// left out.
std::string pngLogo(std::string_view key, std::string_view initials);

}  // namespace vela::sandbox
