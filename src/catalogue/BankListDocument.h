#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace velawidget {

/// One member bank as the bank-list document gives it.
struct Bank {
    std::string bankName;
    std::string logoURL;    ///< also the bank's identity inside the kit
    std::string appScheme;  ///< the URL scheme of the bank's app; the document's key "schema"
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

/// The longest text each field may hold, in bytes of UTF-8 once JSON escapes
/// are decoded. A document with a longer text is malformed as a whole, like
/// one with a field of the wrong type: no honest list comes near these, and a
/// hostile one cannot hand megabyte names to the screens or the last-used file.
inline constexpr std::size_t maxVersionBytes = 256;
inline constexpr std::size_t maxBankNameBytes = 2048;
inline constexpr std::size_t maxLogoURLBytes = 4096;
inline constexpr std::size_t maxAppSchemeBytes = 256;
inline constexpr std::size_t maxWebClientUrlBytes = 4096;
inline constexpr std::size_t maxIsWebClientActiveBytes = 64;

struct DecodeError {
    std::string description;
};

/// Strict RFC 8259, all or nothing: one bad bank fails the whole document.
std::variant<BankListResponse, DecodeError> decodeBankList(std::string_view bytes);

}  // namespace velawidget
