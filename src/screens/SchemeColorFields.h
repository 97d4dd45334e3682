#pragma once

#include <velawidget/quick/Appearance.h>

#include <optional>

namespace velawidget {

/// The kit's colour name each override field of `quick::SchemeColors`
/// stands for, in the order of `colorNames()`.
struct SchemeColorField {
    using Field = std::optional<quick::Rgba> quick::SchemeColors::*;
    const char* name;
    Field field;
};

inline constexpr SchemeColorField schemeColorFields[] = {
    {"MainTextColor", &quick::SchemeColors::mainText},
    {"SecondaryTextColor", &quick::SchemeColors::secondaryText},
    {"MainBackground", &quick::SchemeColors::mainBackground},
    {"SecondaryBackground", &quick::SchemeColors::secondaryBackground},
    {"PlaceholderBackground", &quick::SchemeColors::placeholderBackground},
};

}  // namespace velawidget
