#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velawidget {

/// A bank's logo text as an absolute URL text, or none when it is empty or
/// does not parse. Both the public bank record and the list rows use it.
std::optional<std::string> logoAddress(std::string_view text);

}  // namespace velawidget
