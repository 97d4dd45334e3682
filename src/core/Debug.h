#pragma once

#include <string_view>

namespace velawidget {

/// Hands one composed debug line to the installed sink; without one it is discarded.
void debugLine(std::string_view text);

}  // namespace velawidget
