#pragma once

#include <optional>
#include <string>

#include "catalogue/BankListDocument.h"

namespace velawidget {

/// One row of the bank list. No equality of its own: rows are told apart by `id()`.
struct BankListCellViewModel {
    std::string name;
    /// The absolute text of the bank's parsed logo address; absent when the
    /// text is empty or does not parse.
    std::optional<std::string> logoURL;

    /// The logo address when there is one, else the name.
    std::string id() const { return logoURL ? *logoURL : name; }

    static BankListCellViewModel fromBank(const Bank& bank);
};

}  // namespace velawidget
