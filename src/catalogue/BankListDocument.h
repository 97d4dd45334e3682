#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace velawidget {

/// One member bank as the bank-list document gives it.
struct Bank {
    std::string bankName;
    std::string logoURL;  ///< also the bank's identity inside the kit
    std::string schema;
    std::optional<std::string> webClientUrl;
    std::optional<std::string> isWebClientActive;

    /// The web client is active only for the exact text "true".
    bool webClientActive() const { return isWebClientActive && *isWebClientActive == "true"; }

    friend bool operator==(const Bank&, const Bank&) = default;
};

struct BankListResponse {
    std::string version;
    std::vector<Bank> dictionary;
};

struct DecodeError {
    std::string description;
};

/// Strict RFC 8259, all or nothing: one bad bank fails the whole document.
std::variant<BankListResponse, DecodeError> decodeBankList(std::string_view bytes);

}  // namespace velawidget
