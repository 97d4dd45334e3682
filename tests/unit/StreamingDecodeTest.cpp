// The bank-list decoder reads the parser's events without building a tree;
// it must judge every document exactly as a tree walk does, error texts included.

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "catalogue/BankListDocument.h"
#include "support/DomBankListDecoder.h"

namespace velawidget {
namespace {

void expectSameAsTreeWalk(const std::string& document) {
    const auto streamed = decodeBankList(document);
    const auto walked = vela::test::decodeBankListWithDom(document);
    ASSERT_EQ(streamed.index(), walked.index()) << document;
    if (const auto* error = std::get_if<DecodeError>(&walked)) {
        EXPECT_EQ(std::get<DecodeError>(streamed).description, error->description) << document;
        return;
    }
    const auto& expected = std::get<BankListResponse>(walked);
    const auto& actual = std::get<BankListResponse>(streamed);
    EXPECT_EQ(actual.version, expected.version) << document;
    EXPECT_EQ(actual.dictionary, expected.dictionary) << document;
}

TEST(StreamingDecode, AgreesWithTheTreeWalkOnEveryRuleAndItsPrecedence) {
    const std::string bank = R"({"bankName":"A","logoURL":"l","schema":"s"})";
    const std::string longEscaped =
        "\"" + std::string(9000, 'x') + "\\u00e9" + std::string(9000, 'y') + "\"";
    const std::vector<std::string> documents = {
        // Accepted shapes: field order, unknown keys of every kind, null optionals.
        R"({"version":"1","dictionary":[)" + bank + "]}",
        R"(  {"dictionary":[{"schema":"s","x":[1,{"y":2}],"logoURL":"l","bankName":"B","webClientUrl":null,"isWebClientActive":"true"}],"version":"2","extra":{"a":[{}]}}  )",
        R"({"version":"","dictionary":[]})",
        R"({"version":"1","dictionary":[{"bankName":)" + longEscaped +
            R"(,"logoURL":"l","schema":"s","webClientUrl":)" + longEscaped + "}]}",
        R"({"version":)" + longEscaped + R"(,"dictionary":[],"note":)" + longEscaped + "}",
        // Duplicate keys: the last one counts, at both levels.
        R"({"version":5,"version":"1","dictionary":{},"dictionary":[)" + bank + "]}",
        R"({"version":"1","dictionary":[)" + bank + R"(],"dictionary":7})",
        R"({"version":"1","dictionary":[{"bankName":1,"bankName":"A","logoURL":"l","schema":"s","schema":"t"}]})",
        R"({"version":"1","dictionary":[{"bankName":"A","logoURL":"l","schema":"s","webClientUrl":"w","webClientUrl":null}]})",
        // Content faults, in the tree walk's order whatever the document's.
        R"([])",
        R"("text")",
        R"(null)",
        R"({"dictionary":[]})",
        R"({"version":1,"dictionary":[]})",
        R"({"version":null})",
        R"({"version":"1"})",
        R"({"version":"1","dictionary":{"a":1}})",
        R"({"dictionary":"x","version":"1"})",
        R"({"version":"1","dictionary":[1]})",
        R"({"version":"1","dictionary":[)" + bank + R"(,[],{}]})",
        R"({"version":"1","dictionary":[)" + bank + R"(,"s"]})",
        R"({"version":"1","dictionary":[{"schema":1,"logoURL":"l"}]})",
        R"({"version":"1","dictionary":[{"bankName":"A","logoURL":{},"schema":"s"}]})",
        R"({"version":"1","dictionary":[{"bankName":"A","logoURL":"l","schema":"s","isWebClientActive":true}]})",
        R"({"version":"1","dictionary":[{"bankName":"A","logoURL":"l","schema":"s","webClientUrl":[]}]})",
        R"({"dictionary":[{"bankName":1}],"version":2})",
        // Syntax faults win over everything, wherever they are.
        R"({"version":1,"dictionary":[1]} x)",
        R"({"version":"1","dictionary":[]},)",
        R"({"version":"1","dictionary":[],})",
        R"({"version":"1" /* c */,"dictionary":[]})",
        "{\"version\":\"\xff\",\"dictionary\":[]}",
        "",
        "   ",
        R"({"version":"1","dictionary":[)",
        std::string(70, '[') + std::string(70, ']'),
        R"({"version":"1","dictionary":[],"deep":)" + std::string(63, '[') + std::string(63, ']') +
            "}",
        R"({"version":"1","dictionary":[1e999]})",
        R"({"version":"1","dictionary":[-0, 18446744073709551616]})",
    };
    for (const auto& document : documents) expectSameAsTreeWalk(document);
}

}  // namespace
}  // namespace velawidget
