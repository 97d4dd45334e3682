#pragma once

#include <string_view>
#include <variant>

#include "catalogue/BankListDocument.h"

namespace vela::fuzz {

/// Decodes a bank-list document by parsing it into a JSON tree first and
/// then walking the tree; the same rules and texts as the kit's decoder.
std::variant<velawidget::BankListResponse, velawidget::DecodeError> decodeBankListWithDom(
    std::string_view bytes);

}  // namespace vela::fuzz
