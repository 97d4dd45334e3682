#include "catalogue/LogoAddress.h"

#include "catalogue/PaymentLink.h"

namespace velawidget {

std::optional<std::string> logoAddress(std::string_view text) {
    // An empty text is a valid empty reference to RFC 3986 but names no logo.
    if (text.empty()) return std::nullopt;
    auto url = parseURL(text);
    if (!url) return std::nullopt;
    return std::string(url->buffer());
}

}  // namespace velawidget
