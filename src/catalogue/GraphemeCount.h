#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace velawidget {

/// User-perceived characters (extended grapheme clusters) in `utf8`, counting
/// stops once `limit` is reached. None when the bytes are not valid UTF-8.
std::optional<std::size_t> graphemeCount(std::string_view utf8, std::size_t limit);

}  // namespace velawidget
