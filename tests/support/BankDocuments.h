#pragma once

#include <optional>
#include <string>
#include <vector>

#include "catalogue/BankListDocument.h"

namespace vela::test {

/// A bank with the given logo text as identity; name and scheme derive from it.
velawidget::Bank bankWithLogo(const std::string& logoURL);

/// A bank-list document holding `banks` in order (JSON null for absent optionals).
std::string bankListDocument(const std::vector<velawidget::Bank>& banks);

/// The logo texts of `banks`, in order.
std::vector<std::string> logosOf(const std::vector<velawidget::Bank>& banks);

}  // namespace vela::test
