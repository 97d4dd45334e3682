#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/PaymentLink.h"
#include "catalogue/Schema.h"

namespace velawidget {
namespace {

const std::string domain(serviceDomain);
const std::string qr = "https://qr." + domain;
const std::string id32 = "VELATESTPAYMENTSTATIC00000000001";  // letters and digits
const std::string id31 = id32.substr(1);

std::optional<Schema> accepted(const std::string& text) {
    auto link = acceptPaymentLink(text);
    if (!link) return std::nullopt;
    return link->schema;
}

TEST(PaymentLinkTest, AcceptsOnlyHttpsLinksOnALinkHostWithA32CharacterFirstSegment) {
    std::string zhe32;
    for (int i = 0; i < 32; ++i) zhe32 += "%D0%96";
    const std::vector<std::pair<std::string, std::optional<Schema>>> cases{
        {qr + "/" + id32 + "?type=01&sum=100", Schema::qr},
        {"https://sub." + domain + "/" + id32, Schema::sub},
        {qr + ":65535/" + id32 + "/more/segments#fragment", Schema::qr},
        {qr + ":99999/" + id32, std::nullopt},
        {qr + ":0/" + id32, std::nullopt},
        {qr + ":/" + id32, std::nullopt},  // empty port
        // Dot segments after the identifier, raw, escaped or behind an escaped separator.
        {qr + "/" + id32 + "/../../admin", std::nullopt},
        {qr + "/" + id32 + "/%2e%2E/x", std::nullopt},
        {qr + "/" + id32 + "/x..%2F..%5Cadmin", std::nullopt},
        {qr + "/" + id32 + "/.well-known/...", Schema::qr},
        {qr + "/" + id31, std::nullopt},
        {qr + "/" + id32 + "X", std::nullopt},
        {qr + "//" + id32, std::nullopt},  // the first segment is the empty one
        {"http://qr." + domain + "/" + id32, std::nullopt},
        {"https://QR." + domain + "/" + id32, std::nullopt},
        {"https://" + domain + "/" + id32, std::nullopt},
        {"https://www.qr." + domain + "/" + id32, std::nullopt},
        {"https://qr%2E" + domain + "/" + id32, std::nullopt},
        {" " + qr + "/" + id32, std::nullopt},
        // The first segment counts user-perceived characters once decoded.
        {qr + "/" + id31 + "e%CC%81", Schema::qr},  // letter and combining acute accent
        {qr + "/" + id31 + "%0D%0A", Schema::qr},   // CR LF is one cluster
        {qr + "/" + zhe32, Schema::qr},             // 32 two-byte letters
        {qr + "/" + id32.substr(2) + "e%CC%81", std::nullopt},
        {qr + "/" + id31 + "\xC3\xA9", std::nullopt},   // raw, not escaped
        {qr + "/" + id31 + "%FF", std::nullopt},        // not UTF-8
        {qr + "/" + id31 + "%C0%AF", std::nullopt},     // overlong slash
        {qr + "/" + id31 + "%ED%A0%80", std::nullopt},  // encoded surrogate
    };
    for (const auto& [text, kind] : cases) {
        EXPECT_EQ(accepted(text), kind) << text;
        if (auto url = parseURL(text)) {
            EXPECT_EQ(isValidPaymentURL(*url), kind.has_value()) << text;
        }
    }

    // A rejected text reports whether it parsed at all.
    std::optional<boost::urls::url> parsed;
    EXPECT_FALSE(acceptPaymentLink("http://qr." + domain + "/" + id32, &parsed));
    EXPECT_TRUE(parsed);
    EXPECT_FALSE(acceptPaymentLink("not a url", &parsed));
    EXPECT_FALSE(parsed);
}

}  // namespace
}  // namespace velawidget
