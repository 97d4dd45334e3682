#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace vela::banks {

/// Outside text made safe for a terminal, the one filter every printed text
/// from a document, a link, a file name or a debug line goes through: C0 and
/// C1 controls, DEL, bidirectional overrides and bytes that are not UTF-8
/// become '?'.
std::string printable(std::string_view text);

/// A serialized JSON text with the same characters escaped instead ("\\u009b"):
/// the same value to a JSON reader, nothing for a terminal to act on.
std::string printableJson(std::string_view json);

/// Columns padded to their widest cell (counted in code points), two blanks apart.
void printTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows);

}  // namespace vela::banks
