#pragma once

#include <cstdint>
#include <string>

namespace vela::sandbox {

/// A made-up logo for bank number `number`: a rounded tile in a colour of its
/// own with two letters on it.
std::string svgLogo(std::uint32_t number);

/// The same tile as a 64x64 PNG (solid colour; no text).
std::string pngLogo(std::uint32_t number);

}  // namespace vela::sandbox
