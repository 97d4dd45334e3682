// Bank-list documents, as they arrive from the network or the cache file.
#include <boost/json.hpp>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "DomBankListDecoder.h"
#include "FuzzCheck.h"
#include "catalogue/BankListDocument.h"

namespace {

/// The records written back as a document. Absent optionals alternate
/// between a missing key and JSON null, which must decode alike.
std::string encode(const velawidget::BankListResponse& document) {
    boost::json::array banks;
    std::size_t index = 0;
    for (const auto& bank : document.dictionary) {
        boost::json::object object;
        object["bankName"] = bank.bankName;
        object["logoURL"] = bank.logoURL;
        object["schema"] = bank.appScheme;
        const bool useNull = index++ % 2 == 0;
        if (bank.webClientUrl) {
            object["webClientUrl"] = *bank.webClientUrl;
        } else if (useNull) {
            object["webClientUrl"] = nullptr;
        }
        if (bank.isWebClientActive) {
            object["isWebClientActive"] = *bank.isWebClientActive;
        } else if (!useNull) {
            object["isWebClientActive"] = nullptr;
        }
        banks.emplace_back(std::move(object));
    }
    boost::json::object root;
    root["version"] = document.version;
    root["dictionary"] = std::move(banks);
    return boost::json::serialize(root);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto decoded = velawidget::decodeBankList(bytes);
    const auto* document = std::get_if<velawidget::BankListResponse>(&decoded);

    // The streaming decoder judges every text as the tree walk does.
    const auto walked = vela::fuzz::decodeBankListWithDom(bytes);
    VELA_FUZZ_CHECK(walked.index() == decoded.index());
    if (const auto* error = std::get_if<velawidget::DecodeError>(&walked)) {
        VELA_FUZZ_CHECK(std::get<velawidget::DecodeError>(decoded).description ==
                        error->description);
    } else {
        const auto& expected = std::get<velawidget::BankListResponse>(walked);
        VELA_FUZZ_CHECK(document->version == expected.version);
        VELA_FUZZ_CHECK(document->dictionary == expected.dictionary);
    }
    if (!document) {
        VELA_FUZZ_CHECK(!std::get<velawidget::DecodeError>(decoded).description.empty());
        return 0;
    }

    const std::string again = encode(*document);
    const auto redecoded = velawidget::decodeBankList(again);
    const auto* second = std::get_if<velawidget::BankListResponse>(&redecoded);
    VELA_FUZZ_CHECK(second != nullptr);
    VELA_FUZZ_CHECK(second->version == document->version);
    VELA_FUZZ_CHECK(second->dictionary == document->dictionary);

    // Decoding depends on the bytes only: the same bytes give the same records.
    const auto repeat = velawidget::decodeBankList(bytes);
    const auto* third = std::get_if<velawidget::BankListResponse>(&repeat);
    VELA_FUZZ_CHECK(third != nullptr && third->dictionary == document->dictionary);
    return 0;
}
