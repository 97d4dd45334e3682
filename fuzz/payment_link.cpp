// Payment-link text through the full acceptance path a public call applies.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "catalogue/PaymentLink.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    std::optional<boost::urls::url> parsed;
    const auto accepted = velawidget::acceptPaymentLink(text, &parsed);

    if (accepted) {
        // Acceptance is the three tests in a row: each must agree on its own.
        VELA_FUZZ_CHECK(parsed.has_value());
        VELA_FUZZ_CHECK(velawidget::isValidPaymentURL(accepted->url));
        VELA_FUZZ_CHECK(!velawidget::paymentURLRejection(accepted->url).has_value());
        const auto schema = velawidget::extractSchema(accepted->url);
        VELA_FUZZ_CHECK(schema.has_value());
        VELA_FUZZ_CHECK(*schema == accepted->schema);
        VELA_FUZZ_CHECK(accepted->url.scheme() == "https");
        VELA_FUZZ_CHECK(accepted->url.host() == velawidget::host(accepted->schema));
        // The link is handed on as given, not normalised.
        VELA_FUZZ_CHECK(accepted->url.buffer() == text);
        // ... so nothing in it may point elsewhere: a real port, no dot segment
        // even once every escape is decoded.
        if (accepted->url.has_port()) {
            const std::string port(accepted->url.port());
            VELA_FUZZ_CHECK(!port.empty());
            const unsigned long number = std::stoul(port);
            VELA_FUZZ_CHECK(number >= 1 && number <= 65535);
        }
        std::string path = accepted->url.path();
        std::replace(path.begin(), path.end(), '\\', '/');
        path += '/';
        VELA_FUZZ_CHECK(path.find("/./") == std::string::npos);
        VELA_FUZZ_CHECK(path.find("/../") == std::string::npos);
    } else if (parsed) {
        // A link that parsed was refused for a reason that one of the tests gives.
        VELA_FUZZ_CHECK(velawidget::paymentURLRejection(*parsed).has_value() ||
                        !velawidget::extractSchema(*parsed).has_value());
    }
    // Parsing is a pure function of the text.
    VELA_FUZZ_CHECK(velawidget::parseURL(text).has_value() == parsed.has_value());
    return 0;
}
