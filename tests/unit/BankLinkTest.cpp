#include <gtest/gtest.h>

#include <boost/url/parse.hpp>

#include "platform/RefusedSchemes.h"
#include "selection/BankLink.h"
#include "support/DebugCapture.h"

namespace velawidget {
namespace {

const std::string payment =
    "https://qr.vela.example/VELATESTPAYMENTSTATIC00000000001?type=01&sum=10000&cur=XTS";
// A literal %, an encoded solidus, user information, a port and a fragment.
const std::string odd =
    "https://u%40x:pw@qr.vela.example:8443/VELA%2FTESTPAYMENTSTATIC0000000%25?a=%2F%25+b&c#fr%20ag";

Bank bank(std::string schema, std::optional<std::string> web, std::optional<std::string> active) {
    return {"Bank", "https://logo.example/b.png", std::move(schema), std::move(web),
            std::move(active)};
}

std::optional<std::string> text(const std::optional<boost::urls::url>& url) {
    if (!url) return std::nullopt;
    return std::string(url->buffer());
}

boost::urls::url parsed(const std::string& s) {
    return boost::urls::url(boost::urls::parse_uri(s).value());
}

TEST(BankLink, MakeBankLinkChoosesOneLinkWithoutFallback) {
    const std::string tail =
        "qr.vela.example/VELATESTPAYMENTSTATIC00000000001?type=01&sum=10000&cur=XTS";
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
        {"inactive web client", payment, bank("b1", web, "false"), "b1://" + tail},
        {"capital T is not true", payment, bank("b1", web, "True"), "b1://" + tail},
        {"web link keeps the payment's path and query", payment, bank("b1", web, "true"), "https://online.bank.example/VELATESTPAYMENTSTATIC00000000001?type=01&sum=10000&cur=XTS"},
        {"web link without address: no app link either", payment, bank("b1", {}, "true"), {}},
        {"web client's port and path are ignored", payment, bank("b1", "http://web.bank.example:9000/p/q", "true"), "http://web.bank.example/VELATESTPAYMENTSTATIC00000000001?type=01&sum=10000&cur=XTS"},
        {"bare host name gives a relative link", payment, bank("b1", "web.bank.example", "true"), "/VELATESTPAYMENTSTATIC00000000001?type=01&sum=10000&cur=XTS"},
        {"empty schema", payment, bank("", web, {}), {}},
        {"schema https gives the payment link", payment, bank("https", {}, {}), payment},
        // Judged by the built link's scheme, in any case, whatever the record spelled.
        {"no script link", payment, bank("javascript", {}, {}), {}},
        {"nor in capitals", payment, bank("VBScript", {}, {}), {}},
        {"nor behind a colon of the schema's own", payment, bank("javascript:alert(1)", {}, {}), {}},
        {"nor a local file scheme", payment, bank("FILE:x", {}, {}), {}},
        {"nor a script web client", payment, bank("b1", "javascript:alert(1)//", "true"), {}},
        {"nor a browser-internal one", payment, bank("b1", "About:blank", "true"), {}},
        {"a refused name inside a longer scheme is fine", payment, bank("x-file", {}, {}), "x-file://" + tail},
        {"a schema that parses without a scheme drops it", payment, bank("a/b", {}, {}), "//" + tail},
        {"app link keeps every other component byte for byte", odd, bank("b1", {}, {}), "b1" + odd.substr(5)},
        {"web link keeps user, port, path, query, fragment", odd, bank("b1", "http://web.bank.example:1/x", "true"), "http://u%40x:pw@web.bank.example:8443/VELA%2FTESTPAYMENTSTATIC0000000%25?a=%2F%25+b&c#fr%20ag"},
        {"percent-encoded web host stays encoded", payment, bank("b1", "https://b%C3%A4nk.example", "true"), "https://b%C3%A4nk.example/VELATESTPAYMENTSTATIC00000000001?type=01&sum=10000&cur=XTS"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto url = parsed(c.url);
        EXPECT_EQ(text(makeBankLink(url, c.bank)), c.expected);
        EXPECT_EQ(url.buffer(), c.url) << "the payment URL is never modified";
    }
}

TEST(BankLink, RefusedLinksAreJudgedAsLenientReadersReadThem) {
    for (std::string_view link : {"javascript:x", " \x01JaVaScRiPt:x", "java\tscr\nipt:x",
                                  "blob:https://a.example/x", "filesystem:x", "data:,"}) {
        EXPECT_TRUE(isRefusedLink(link)) << link;
    }
    for (std::string_view link : {"", "https://a.example/", "x-file:x", "/rel:x", "file", "1file:x",
                                  "javascript-x:y", "fi le:x"}) {
        EXPECT_FALSE(isRefusedLink(link)) << link;
    }
}

// Unbuildable links of every kind are the table above's; here what the log says of them.
TEST(BankLink, DiagnosticLinesNameTheInputs) {
    const auto url = parsed(payment);
    struct Case {
        std::function<std::optional<boost::urls::url>()> call;
        std::vector<std::string> lines;
    };
    const auto failed = [&](const char* kind, const std::string& scheme) {
        return std::vector<std::string>{std::string(kind) + " link creation failed, paymentURL: " +
                                        payment + ", scheme: " + scheme};
    };
    const std::vector<Case> cases = {
        {[&] { return makeAppLink(url, std::nullopt); }, failed("app", "")},
        {[&] { return makeAppLink(url, std::string("a b")); }, failed("app", "a b")},
        {[&] { return makeWebLink(url, std::string("http://a b")); }, failed("web", "http://a b")},
        {[&] { return makeWebLink(url, std::string("data:text/html,x")); },
         failed("web", "data:text/html,x")},
        {[&] { return makeAppLink(url, std::string("ok")); }, {}},
    };
    for (const auto& c : cases) {
        vela::test::DebugCapture debug;
        const bool built = c.call().has_value();
        EXPECT_EQ(debug.lines(), c.lines);
        EXPECT_EQ(built, c.lines.empty());
    }
}

}  // namespace
}  // namespace velawidget
