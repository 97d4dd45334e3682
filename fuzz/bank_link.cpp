// A bank record and a payment link turned into the link handed to the
// operating system. The input is NUL-separated: schema, webClientUrl,
// isWebClientActive, then the payment link (or the part after a valid
// link's host, when the text alone is not a payment link).
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "catalogue/PaymentLink.h"
#include "core/RefusedSchemes.h"
#include "selection/BankLink.h"

namespace {

std::vector<std::string_view> fields(std::string_view text, std::size_t count) {
    std::vector<std::string_view> out;
    while (out.size() + 1 < count) {
        const auto end = text.find('\0');
        if (end == std::string_view::npos) break;
        out.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    out.push_back(text);
    return out;
}

std::optional<std::string> optionalField(std::string_view field) {
    // A lone 0x01 stands for an absent value.
    if (field == "\x01") return std::nullopt;
    return std::string(field);
}

/// The refused names spelled out again, so that a shrunken list in the kit is caught.
bool dangerous(std::string_view scheme) {
    std::string s(scheme);
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    for (std::string_view name :
         {"file", "data", "javascript", "vbscript", "about", "blob", "filesystem"}) {
        if (s == name) return true;
    }
    return false;
}

std::optional<velawidget::AcceptedPaymentLink> paymentLink(std::string_view text) {
    if (auto accepted = velawidget::acceptPaymentLink(text)) return accepted;
    std::string composed =
        "https://" + velawidget::host(velawidget::Schema::qr) + "/VELATESTPAYMENTFUZZED00000000004";
    composed += text;
    return velawidget::acceptPaymentLink(composed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fields(std::string_view(reinterpret_cast<const char*>(data), size), 4);
    if (parts.size() < 4) return 0;

    velawidget::Bank bank;
    bank.bankName = "bank";
    bank.logoURL = "https://logo.example/bank.png";
    bank.appScheme = std::string(parts[0]);
    bank.webClientUrl = optionalField(parts[1]);
    bank.isWebClientActive = optionalField(parts[2]);

    const auto payment = paymentLink(parts[3]);
    if (!payment) return 0;
    const boost::urls::url_view paymentURL = payment->url;

    const auto appLink = velawidget::makeAppLink(paymentURL, bank.appScheme);
    if (appLink) {
        // Only the scheme changes; every other component stays byte for byte.
        VELA_FUZZ_CHECK(appLink->encoded_authority() == paymentURL.encoded_authority());
        VELA_FUZZ_CHECK(appLink->has_authority() == paymentURL.has_authority());
        VELA_FUZZ_CHECK(appLink->encoded_path() == paymentURL.encoded_path());
        VELA_FUZZ_CHECK(appLink->has_query() == paymentURL.has_query());
        VELA_FUZZ_CHECK(appLink->encoded_query() == paymentURL.encoded_query());
        VELA_FUZZ_CHECK(appLink->has_fragment() == paymentURL.has_fragment());
        VELA_FUZZ_CHECK(appLink->encoded_fragment() == paymentURL.encoded_fragment());
        // The scheme is the one the bank's text names when read as "<schema>://".
        const auto asked = velawidget::parseURL(bank.appScheme + "://");
        VELA_FUZZ_CHECK(asked.has_value() && asked->has_scheme() == appLink->has_scheme());
        if (appLink->has_scheme()) VELA_FUZZ_CHECK(appLink->scheme() == asked->scheme());
        VELA_FUZZ_CHECK(!dangerous(appLink->scheme()));
        VELA_FUZZ_CHECK(!velawidget::isRefusedLink(appLink->buffer()));
        VELA_FUZZ_CHECK(velawidget::parseURL(appLink->buffer()).has_value());
    } else {
        // No link: no text, not a reference, or a refused scheme however spelled.
        const auto asked =
            bank.appScheme.empty() ? std::nullopt : velawidget::parseURL(bank.appScheme + "://");
        VELA_FUZZ_CHECK(!asked || (asked->has_scheme() && dangerous(asked->scheme())));
    }

    const auto webLink = velawidget::makeWebLink(paymentURL, bank.webClientUrl);
    std::optional<boost::urls::url> client;
    if (bank.webClientUrl && !bank.webClientUrl->empty())
        client = velawidget::parseURL(*bank.webClientUrl);
    if (webLink) {
        VELA_FUZZ_CHECK(client.has_value());
        VELA_FUZZ_CHECK(webLink->has_scheme() == client->has_scheme());
        if (webLink->has_scheme()) VELA_FUZZ_CHECK(webLink->scheme() == client->scheme());
        if (client->has_authority())
            VELA_FUZZ_CHECK(webLink->encoded_host() == client->encoded_host());
        // The payment's own path and query go with it.
        VELA_FUZZ_CHECK(webLink->encoded_path() == paymentURL.encoded_path());
        VELA_FUZZ_CHECK(webLink->encoded_query() == paymentURL.encoded_query());
        VELA_FUZZ_CHECK(webLink->encoded_fragment() == paymentURL.encoded_fragment());
        VELA_FUZZ_CHECK(!velawidget::isRefusedLink(webLink->buffer()));
        VELA_FUZZ_CHECK(velawidget::parseURL(webLink->buffer()).has_value());
    } else {
        VELA_FUZZ_CHECK(!client.has_value() ||
                        (client->has_scheme() && dangerous(client->scheme())));
    }

    // makeBankLink picks one of the two, without falling back.
    const auto link = velawidget::makeBankLink(paymentURL, bank);
    const auto& expected = bank.webClientActive() ? webLink : appLink;
    VELA_FUZZ_CHECK(link.has_value() == expected.has_value());
    // No link the kit hands out is ever under a refused scheme.
    if (link) VELA_FUZZ_CHECK(link->buffer() == expected->buffer());
    return 0;
}
