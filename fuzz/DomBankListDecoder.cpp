// The tree-walking decoder the kit once used: kept as the reference that
// the streaming decoder must agree with, error texts included.
#include "DomBankListDecoder.h"

#include <array>
#include <boost/json/monotonic_resource.hpp>
#include <boost/json/parse.hpp>
#include <boost/json/value.hpp>
#include <cstddef>

namespace vela::fuzz {
namespace {

using velawidget::Bank;
using velawidget::BankListResponse;
using velawidget::DecodeError;

// Deep enough for any honest document (it needs three levels), shallow enough
// that hostile nesting cannot reach the end of a thread's stack.
constexpr std::size_t maxNestingDepth = 64;

using Failure = std::optional<DecodeError>;

DecodeError error(std::string description) {
    return DecodeError{std::move(description)};
}

std::string where(std::size_t index, std::string_view key) {
    std::string text = "\"dictionary\"[";
    text += std::to_string(index);
    text += "].\"";
    text += key;
    text += '"';
    return text;
}

DecodeError tooLong(std::string subject, std::size_t limit) {
    return error(subject + " is longer than " + std::to_string(limit) + " bytes");
}

Failure requiredString(const boost::json::object& object, std::string_view key, std::size_t limit,
                       std::string& field, std::size_t index) {
    const auto* value = object.if_contains(key);
    if (!value) return error(where(index, key) + " is missing");
    const auto* text = value->if_string();
    if (!text) return error(where(index, key) + " is not a string");
    if (text->size() > limit) return tooLong(where(index, key), limit);
    field.assign(text->data(), text->size());
    return std::nullopt;
}

Failure optionalString(const boost::json::object& object, std::string_view key, std::size_t limit,
                       std::optional<std::string>& field, std::size_t index) {
    const auto* value = object.if_contains(key);
    if (!value || value->is_null()) return std::nullopt;
    const auto* text = value->if_string();
    if (!text) return error(where(index, key) + " is neither a string nor null");
    if (text->size() > limit) return tooLong(where(index, key), limit);
    field.emplace(text->data(), text->size());
    return std::nullopt;
}

Failure decodeBank(const boost::json::value& element, std::size_t index, Bank& bank) {
    const auto* object = element.if_object();
    if (!object) {
        return error("\"dictionary\"[" + std::to_string(index) + "] is not an object");
    }
    using namespace velawidget;
    if (auto failure =
            requiredString(*object, "bankName", maxBankNameBytes, bank.bankName, index)) {
        return failure;
    }
    if (auto failure = requiredString(*object, "logoURL", maxLogoURLBytes, bank.logoURL, index)) {
        return failure;
    }
    if (auto failure =
            requiredString(*object, "schema", maxAppSchemeBytes, bank.appScheme, index)) {
        return failure;
    }
    if (auto failure = optionalString(*object, "webClientUrl", maxWebClientUrlBytes,
                                      bank.webClientUrl, index)) {
        return failure;
    }
    return optionalString(*object, "isWebClientActive", maxIsWebClientActiveBytes,
                          bank.isWebClientActive, index);
}

}  // namespace

std::variant<BankListResponse, DecodeError> decodeBankListWithDom(std::string_view bytes) {
    boost::json::parse_options options;
    options.max_depth = maxNestingDepth;
    options.allow_comments = false;
    options.allow_trailing_commas = false;
    options.allow_invalid_utf8 = false;

    // The tree lives only for this call: allocate it in one arena, starting on
    // the stack, and free it at once.
    std::array<unsigned char, 4096> initial;
    boost::json::monotonic_resource arena(initial.data(), initial.size());
    boost::json::error_code code;
    const boost::json::value root = boost::json::parse(
        boost::json::string_view(bytes.data(), bytes.size()), code, &arena, options);
    if (code) return error("not a JSON text: " + code.message());

    const auto* top = root.if_object();
    if (!top) return error("the top-level value is not an object");

    BankListResponse response;
    const auto* version = top->if_contains("version");
    if (!version) return error("\"version\" is missing");
    if (!version->is_string()) return error("\"version\" is not a string");
    const auto& versionText = version->get_string();
    if (versionText.size() > velawidget::maxVersionBytes) {
        return tooLong("\"version\"", velawidget::maxVersionBytes);
    }
    response.version.assign(versionText.data(), versionText.size());

    const auto* dictionary = top->if_contains("dictionary");
    if (!dictionary) return error("\"dictionary\" is missing");
    const auto* banks = dictionary->if_array();
    if (!banks) return error("\"dictionary\" is not an array");

    response.dictionary.resize(banks->size());
    for (std::size_t index = 0; index < banks->size(); ++index) {
        if (auto failure = decodeBank((*banks)[index], index, response.dictionary[index])) {
            return std::move(*failure);
        }
    }
    return response;
}

}  // namespace vela::fuzz
