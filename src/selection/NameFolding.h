#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/BankListDocument.h"

namespace velawidget {

/// The search form of a text: full Unicode lower-case mapping in the root
/// locale, then NFC, in UTF-8. A composed and a decomposed accent fold alike.
std::string foldForSearch(std::string_view utf8);

/// True when the text holds nothing but characters with the Unicode
/// White_Space property (or nothing at all).
bool isBlank(std::string_view utf8);

/// Whether `foldedName` holds `foldedQuery` as a contiguous run. UTF-8 is
/// self-synchronising, so a byte match is always a match of whole characters.
bool containsFolded(std::string_view foldedName, std::string_view foldedQuery) noexcept;

/// The folded names of one bank list, kept so that a keystroke folds only
/// the search text.
class FoldedNames {
  public:
    FoldedNames() = default;
    explicit FoldedNames(const std::vector<Bank>& banks);

    std::size_t size() const noexcept { return ends_.size(); }
    std::string_view name(std::size_t index) const noexcept;
    /// The positions, in order, of the banks whose name matches the search
    /// text: all of them for a blank text, otherwise those whose folded name
    /// contains the folded text (blanks at its ends included).
    std::vector<std::size_t> matching(std::string_view text) const;

  private:
    // One buffer for all names keeps a scan over them in few cache lines.
    std::string buffer_;
    std::vector<std::size_t> ends_;
};

}  // namespace velawidget
