#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/PaymentLink.h"
#include "catalogue/Schema.h"
#include "support/DebugCapture.h"

namespace velawidget {
namespace {

const std::string domain(serviceDomain);
const std::string qrHost = "qr." + domain;
const std::string subHost = "sub." + domain;
const std::string id32 = "VELATESTPAYMENTSTATIC00000000001";  // letters and digits
const std::string id31 = id32.substr(1);

std::optional<Schema> accepted(const std::string& text) {
    auto link = acceptPaymentLink(text);
    if (!link) return std::nullopt;
    return link->schema;
}

struct LinkCase {
    std::string text;
    std::optional<Schema> kind;
};

TEST(PaymentLinkTest, AcceptsOnlyHttpsLinksOnALinkHostWithA32CharacterFirstSegment) {
    const std::vector<LinkCase> cases{
        {"https://" + qrHost + "/" + id32 + "?type=01&sum=100", Schema::qr},
        {"https://" + subHost + "/" + id32, Schema::sub},
        {"https://" + qrHost + "/" + id32 + "/more/segments#fragment", Schema::qr},
        {"https://" + qrHost + ":65535/" + id32, Schema::qr},
        {"https://" + qrHost + ":99999/" + id32, std::nullopt},
        {"https://" + qrHost + ":0/" + id32, std::nullopt},
        {"https://" + qrHost + ":/" + id32, std::nullopt},  // empty port
        // Dot segments after the identifier, raw, escaped or behind an escaped separator.
        {"https://" + qrHost + "/" + id32 + "/../../admin", std::nullopt},
        {"https://" + qrHost + "/" + id32 + "/%2e%2E/x", std::nullopt},
        {"https://" + qrHost + "/" + id32 + "/x..%2F..%5Cadmin", std::nullopt},
        {"https://" + qrHost + "/" + id32 + "/.well-known/...", Schema::qr},
        {"https://" + qrHost + "/" + id31, std::nullopt},
        {"https://" + qrHost + "/" + id32 + "X", std::nullopt},
        // The first segment of "//x" is the empty one before x.
        {"https://" + qrHost + "//" + id32, std::nullopt},
        {"http://" + qrHost + "/" + id32, std::nullopt},
        {"HTTPS://" + qrHost + "/" + id32, std::nullopt},
        {"https://QR." + domain + "/" + id32, std::nullopt},
        {"https://" + qrHost + "./" + id32, std::nullopt},
        {"https://" + domain + "/" + id32, std::nullopt},
        {"https://www." + qrHost + "/" + id32, std::nullopt},
        {"https://qr%2E" + domain + "/" + id32, std::nullopt},
        {" https://" + qrHost + "/" + id32, std::nullopt},
        {"https://" + qrHost + "/" + id31 + "%zz", std::nullopt},
        {"https://" + qrHost + "/" + id31 + "\xC3\xA9", std::nullopt},  // raw, not escaped
    };
    // The first segment counts user-perceived characters once decoded.
    const std::string id30 = id32.substr(2), zhe = "%D0%96";
    std::string allZhe;
    for (int i = 0; i < 32; ++i) allZhe += zhe;
    const std::string family =  // man, ZWJ, woman, ZWJ, girl
        "%F0%9F%91%A8%E2%80%8D%F0%9F%91%A9%E2%80%8D%F0%9F%91%A7";
    const std::vector<std::pair<std::string, bool>> segments{
        {id31 + "e%CC%81", true},                   // letter and combining acute accent
        {allZhe, true},                             // 32 two-byte letters
        {allZhe + zhe, false},                      // 33 of them
        {id31 + family, true},                      // ZWJ sequence
        {id31 + "%F0%9F%87%B7%F0%9F%87%BA", true},  // flag: two regional indicators
        {id31 + "%0D%0A", true},                    // CR LF is one cluster
        {id31 + "%2F", true},                       // an escaped slash is one character
        {id30 + "e%CC%81", false},
        {id31 + "%FF", false},        // not UTF-8
        {id31 + "%C0%AF", false},     // overlong slash
        {id31 + "%ED%A0%80", false},  // encoded surrogate
    };
    auto all = cases;
    for (const auto& [segment, valid] : segments) {
        all.push_back({"https://" + qrHost + "/" + segment,
                       valid ? std::optional(Schema::qr) : std::nullopt});
    }
    for (const auto& c : all) {
        EXPECT_EQ(accepted(c.text), c.kind) << c.text;
        auto url = parseURL(c.text);
        if (url) {
            EXPECT_EQ(isValidPaymentURL(*url), c.kind.has_value()) << c.text;
        }
    }
}

TEST(PaymentLinkTest, ExtractsTheKindFromTheHostAloneAndSaysSo) {
    vela::test::DebugCapture debug;
    const std::string httpSub = "http://" + subHost + "/short";
    const std::string noKind = "https://" + domain + "/" + id32;
    const std::string noHost = "mailto:someone";

    EXPECT_EQ(extractSchema(*parseURL(httpSub)), Schema::sub);
    EXPECT_EQ(extractSchema(*parseURL(noKind)), std::nullopt);
    EXPECT_EQ(extractSchema(*parseURL(noHost)), std::nullopt);
    EXPECT_FALSE(isValidPaymentURL(*parseURL(noKind)));  // validation itself is silent

    const std::string link = "https://" + qrHost + "/" + id32 + "?sum=1";
    std::optional<boost::urls::url> parsed;
    ASSERT_TRUE(acceptPaymentLink(link, &parsed));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->buffer(), link);

    EXPECT_EQ(debug.lines(), (std::vector<std::string>{
                                 "extracted sub schema from " + httpSub,
                                 "schema extraction failed, url: " + noKind,
                                 "schema extraction failed, url: " + noHost,
                                 "extracted qr schema from " + link,
                             }));

    // A rejected text reports whether it parsed at all.
    parsed.reset();
    EXPECT_FALSE(acceptPaymentLink("http://" + qrHost + "/" + id32, &parsed));
    EXPECT_TRUE(parsed);
    EXPECT_FALSE(acceptPaymentLink("not a url", &parsed));
    EXPECT_FALSE(parsed);
}

}  // namespace
}  // namespace velawidget
