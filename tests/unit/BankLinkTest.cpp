#include <gtest/gtest.h>

#include <boost/url/parse.hpp>

#include "core/RefusedSchemes.h"
#include "selection/BankLink.h"

namespace velawidget {
namespace {

const std::string tail = "qr.vela.example/VELATESTPAYMENTSTATIC00000000001?type=01&sum=10000";
const std::string payment = "https://" + tail;
// A literal %, an encoded solidus, user information, a port and a fragment.
const std::string odd =
    "https://u%40x:pw@qr.vela.example:8443/VELA%2FTESTPAYMENTSTATIC0000000%25?a=%2F%25+b&c#fr%20ag";

Bank bank(std::string schema, std::optional<std::string> web, std::optional<std::string> active) {
    return {"Bank", "https://logo.example/b.png", std::move(schema), std::move(web),
            std::move(active)};
}

TEST(BankLink, MakeBankLinkChoosesOneLinkWithoutFallback) {
    const std::string web = "https://online.bank.example/pay/x?y=1#z";
    struct Case {
        const char* name;
        std::string url;
        Bank bank;
        std::optional<std::string> expected;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"app link: only the scheme changes", payment, bank("velabank-a1", {}, {}), "velabank-a1://" + tail},
        {"capital T is not true", payment, bank("b1", web, "True"), "b1://" + tail},
        {"web link keeps the payment's path and query", payment, bank("b1", web, "true"), "https://online.bank.example/VELATESTPAYMENTSTATIC00000000001?type=01&sum=10000"},
        {"web link without address: no app link either", payment, bank("b1", {}, "true"), {}},
        {"empty schema", payment, bank("", web, {}), {}},
        // Judged by the built link's scheme, in any case, whatever the record spelled.
        {"no script link", payment, bank("VBScript", {}, {}), {}},
        {"nor behind a colon of the schema's own", payment, bank("javascript:alert(1)", {}, {}), {}},
        {"nor a local file scheme", payment, bank("FILE:x", {}, {}), {}},
        {"nor a script web client", payment, bank("b1", "javascript:alert(1)//", "true"), {}},
        {"nor a browser-internal one", payment, bank("b1", "About:blank", "true"), {}},
        {"a refused name inside a longer scheme is fine", payment, bank("x-file", {}, {}), "x-file://" + tail},
        {"app link keeps every other component byte for byte", odd, bank("b1", {}, {}), "b1" + odd.substr(5)},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto url = boost::urls::url(boost::urls::parse_uri(c.url).value());
        const auto link = makeBankLink(url, c.bank);
        EXPECT_EQ(link ? std::optional(std::string(link->buffer())) : std::nullopt, c.expected);
        EXPECT_EQ(url.buffer(), c.url) << "the payment URL is never modified";
    }
}

TEST(BankLink, RefusedLinksAreJudgedAsLenientReadersReadThem) {
    for (std::string_view link : {"javascript:x", " \x01JaVaScRiPt:x", "java\tscr\nipt:x",
                                  "blob:https://a.example/x", "filesystem:x", "data:,"}) {
        EXPECT_TRUE(isRefusedLink(link)) << link;
    }
    for (std::string_view link : {"https://a.example/", "x-file:x", "/rel:x", "javascript-x:y"}) {
        EXPECT_FALSE(isRefusedLink(link)) << link;
    }
}

}  // namespace
}  // namespace velawidget
