#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/BankListDocument.h"

namespace velawidget {
namespace {

const std::string goodBank = R"({"bankName":"Good","logoURL":"https://l/g.png","schema":"good"})";

std::string document(const std::string& banks) {
    return R"({"version":"1.0","dictionary":[)" + banks + "]}";
}

std::string nested(int depth, const std::string& core = "1") {
    return std::string(depth, '[') + core + std::string(depth, ']');
}

TEST(BankListDocumentTest, RejectsTheWholeDocumentForAnyFault) {
    // clang-format off
    const std::vector<std::pair<std::string, std::string>> cases{
        {"cut short", document(goodBank).substr(0, 30)},
        {"second JSON text", document(goodBank) + " {}"},
        {"invalid UTF-8 in an unknown key", R"({"version":"1","dictionary":[],"x":")" "\xC3\x28" R"("})"},
        {"lone surrogate escape", document(R"({"bankName":"\ud800","logoURL":"l","schema":"s"})")},
        {"version missing", R"({"dictionary":[)" + goodBank + "]}"},
        {"logoURL missing in the second bank", document(goodBank + R"(,{"bankName":"B","schema":"s"})")},
        {"isWebClientActive true", document(R"({"bankName":"B","logoURL":"l","schema":"s","isWebClientActive":true})")},
        {"hostile nesting in an unknown key", R"({"version":"1","dictionary":[],"x":)" + nested(100000) + "}"},
        {"nesting just past the limit", R"({"version":"1","dictionary":[],"x":)" + nested(64) + "}"},
    };
    // clang-format on
    for (const auto& [name, bytes] : cases) {
        EXPECT_TRUE(std::holds_alternative<DecodeError>(decodeBankList(bytes))) << name;
    }
}

TEST(BankListDocumentTest, EveryTextHasACapInDecodedBytes) {
    const std::pair<std::string, std::size_t> fields[] = {
        {"version", maxVersionBytes},           {"bankName", maxBankNameBytes},
        {"logoURL", maxLogoURLBytes},           {"schema", maxAppSchemeBytes},
        {"webClientUrl", maxWebClientUrlBytes}, {"isWebClientActive", maxIsWebClientActiveBytes}};
    for (const auto& [key, cap] : fields) {
        for (const std::size_t size : {cap, cap + 1}) {
            // "\u00e9" is six bytes of JSON but two decoded: the cap counts the decoded ones.
            std::string text = '"' + std::string(size % 2, 'a');
            for (std::size_t i = 0; i < size / 2; ++i) text += "\\u00e9";
            text += '"';
            // A later duplicate key replaces the earlier text, so it is capped too.
            const std::string bytes =
                R"({"version":"1","dictionary":[{"bankName":"B","logoURL":"l",)"
                R"("schema":"s",")" +
                key + "\":" + text + "}]," +
                (key == "version" ? "\"version\":" + text : "\"x\":1") + "}";
            const auto result = decodeBankList(bytes);
            const auto* failure = std::get_if<DecodeError>(&result);
            EXPECT_EQ(failure != nullptr, size > cap) << key << " " << size;
            EXPECT_NE(failure ? failure->description.find(key) : 0, std::string::npos);
        }
    }
}

TEST(BankListDocumentTest, DecodesEveryBankInOrderWithOptionalsAndUnknownKeys) {
    // clang-format off
    const std::vector<std::pair<std::string, std::vector<Bank>>> cases{
        {R"({"extra":{"deep":[1,2,{"a":null}]},"dictionary":[{"isWebClientActive":"true",)" R"("schema":"s","id":5,"logoURL":"l","webClientUrl":"https://w","bankName":"B"},)" R"({"bankName":"Caf\u00e9 \"q\"","logoURL":"l\/x","schema":"s","webClientUrl":null}],"version":"2"})",
         {{"B", "l", "s", "https://w", "true"}, {"Caf\xC3\xA9 \"q\"", "l/x", "s", std::nullopt, std::nullopt}}},
        {R"({"version":"1","dictionary":[)" + goodBank + R"(],"x":)" + nested(62) + "}",
         {{"Good", "https://l/g.png", "good", std::nullopt, std::nullopt}}},
    };
    // clang-format on
    for (const auto& [bytes, banks] : cases) {
        auto decoded = decodeBankList(bytes);
        const auto* response = std::get_if<BankListResponse>(&decoded);
        ASSERT_NE(response, nullptr) << std::get<DecodeError>(decoded).description;
        EXPECT_EQ(response->dictionary, banks);
    }
}

}  // namespace
}  // namespace velawidget
