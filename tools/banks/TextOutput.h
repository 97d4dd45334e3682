#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace vela::banks {

/// Outside text made safe for a terminal: control characters become '?'.
std::string printable(std::string_view text);

/// Columns padded to their widest cell (counted in code points), two blanks apart.
void printTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows);

}  // namespace vela::banks
