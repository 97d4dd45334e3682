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
        {"empty input", ""},
        {"not JSON", "version: 1"},
        {"top-level array", "[" + goodBank + "]"},
        {"cut short", document(goodBank).substr(0, 30)},
        {"second JSON text", document(goodBank) + " {}"},
        {"trailing comma in array", document(goodBank + ",")},
        {"invalid UTF-8 in a name", document(R"({"bankName":"B)" "\xFF" R"(","logoURL":"l","schema":"s"})")},
        {"invalid UTF-8 in an unknown key", R"({"version":"1","dictionary":[],"x":")" "\xC3\x28" R"("})"},
        {"lone surrogate escape", document(R"({"bankName":"\ud800","logoURL":"l","schema":"s"})")},
        {"version missing", R"({"dictionary":[)" + goodBank + "]}"},
        {"dictionary an object", R"({"version":"1","dictionary":{"a":)" + goodBank + "}}"},
        {"bank a string", document(goodBank + R"(,"Bank")")},
        {"bankName missing", document(R"({"logoURL":"l","schema":"s"})")},
        {"bankName capitalised", document(R"({"BankName":"B","logoURL":"l","schema":"s"})")},
        {"logoURL missing in the second bank", document(goodBank + R"(,{"bankName":"B","schema":"s"})")},
        {"isWebClientActive true", document(R"({"bankName":"B","logoURL":"l","schema":"s","isWebClientActive":true})")},
        {"hostile nesting in an unknown key", R"({"version":"1","dictionary":[],"x":)" + nested(100000) + "}"},
        {"nesting just past the limit", R"({"version":"1","dictionary":[],"x":)" + nested(64) + "}"},
    };
    // clang-format on
    for (const auto& [name, bytes] : cases) {
        auto decoded = decodeBankList(bytes);
        const auto* failure = std::get_if<DecodeError>(&decoded);
        ASSERT_NE(failure, nullptr) << name;
        EXPECT_FALSE(failure->description.empty()) << name;
    }
}

TEST(BankListDocumentTest, EveryTextHasACapInDecodedBytes) {
    const std::vector<std::pair<std::string, std::size_t>> fields{
        {"version", maxVersionBytes},           {"bankName", maxBankNameBytes},
        {"logoURL", maxLogoURLBytes},           {"schema", maxAppSchemeBytes},
        {"webClientUrl", maxWebClientUrlBytes}, {"isWebClientActive", maxIsWebClientActiveBytes}};
    // "\u00e9" is six bytes of JSON but two decoded: the cap counts the decoded ones.
    auto text = [](std::size_t bytes) {
        std::string out(bytes % 2, 'a');
        for (std::size_t i = 0; i < bytes / 2; ++i) out += "\\u00e9";
        return '"' + out + '"';
    };
    for (const auto& [key, cap] : fields) {
        for (const std::size_t size : {cap, cap + 1}) {
            std::string bank = R"("bankName":"B","logoURL":"l","schema":"s")";
            bank += ",\"" + key + "\":" + text(size);
            const std::string bytes = R"({"dictionary":[{)" + bank +
                                      R"(}],"version":"1","version":)" +
                                      (key == "version" ? text(size) : "\"1\"") + "}";
            auto decoded = decodeBankList(bytes);
            const auto* failure = std::get_if<DecodeError>(&decoded);
            EXPECT_EQ(failure != nullptr, size > cap) << key << " " << size;
            if (failure) {
                EXPECT_NE(failure->description.find(key), std::string::npos);
            }
        }
    }
}

struct Accepted {
    std::string name;
    std::string bytes;
    std::vector<Bank> banks;
};

TEST(BankListDocumentTest, DecodesEveryBankInOrderWithOptionalsAndUnknownKeys) {
    const Bank good{"Good", "https://l/g.png", "good", std::nullopt, std::nullopt};
    // clang-format off
    const std::vector<Accepted> cases{
        {"no banks", document(""), {}},
        {"optionals null", document(R"({"bankName":"Good","logoURL":"https://l/g.png",)" R"("schema":"good","webClientUrl":null,"isWebClientActive":null})"), {good}},
        {"optionals empty texts", document(R"({"bankName":"","logoURL":"","schema":"","webClientUrl":"","isWebClientActive":""})"), {{"", "", "", "", ""}}},
        {"texts kept untrimmed", document(R"({"bankName":" B ","logoURL":"not a url","schema":"S",)" R"("webClientUrl":"https://w","isWebClientActive":"True"})"), {{" B ", "not a url", "S", "https://w", "True"}}},
        {"keys in any order, unknown keys ignored", R"({"extra":{"deep":[1,2,{"a":null}]},"dictionary":[{"isWebClientActive":"true",)" R"("schema":"s","id":5,"logoURL":"l","webClientUrl":"https://w","bankName":"B"}],)" R"("version":"2024-01","total":1})", {{"B", "l", "s", "https://w", "true"}}},
        {"same name twice, document order", document(R"({"bankName":"Twin","logoURL":"b","schema":"s"},)" R"({"bankName":"Twin","logoURL":"a","schema":"s"})"), {{"Twin", "b", "s", std::nullopt, std::nullopt}, {"Twin", "a", "s", std::nullopt, std::nullopt}}},
        {"escapes decoded to UTF-8", document(R"({"bankName":"Caf\u00e9 \ud83d\ude00 \"q\"","logoURL":"l\/x","schema":"s"})"), {{"Caf\xC3\xA9 \xF0\x9F\x98\x80 \"q\"", "l/x", "s", std::nullopt, std::nullopt}}},
        {"nesting within the limit", R"({"version":"1","dictionary":[)" + goodBank + R"(],"x":)" + nested(62) + "}", {good}},
    };
    // clang-format on
    for (const auto& c : cases) {
        auto decoded = decodeBankList(c.bytes);
        const auto* response = std::get_if<BankListResponse>(&decoded);
        ASSERT_NE(response, nullptr)
            << c.name << ": " << std::get<DecodeError>(decoded).description;
        EXPECT_EQ(response->dictionary, c.banks) << c.name;
    }

    auto decoded = decodeBankList(document(goodBank));
    EXPECT_EQ(std::get<BankListResponse>(decoded).version, "1.0");
}

}  // namespace
}  // namespace velawidget
