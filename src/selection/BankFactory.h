#pragma once

#include <velawidget/VelaWidgetBank.h>

#include <optional>
#include <string>

namespace velawidget::detail {

/// The one place that may create public bank records.
struct BankFactory {
    static VelaWidgetBankPtr make(std::string name, std::optional<std::string> logoURL,
                                  std::string dboLink) {
        // Plain `new`: make_shared cannot reach the private constructor.
        return VelaWidgetBankPtr(
            new VelaWidgetBank(std::move(name), std::move(logoURL), std::move(dboLink)));
    }
};

}  // namespace velawidget::detail
