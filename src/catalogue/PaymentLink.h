#pragma once

#include <boost/url/url.hpp>
#include <boost/url/url_view.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/Schema.h"

namespace velawidget {

/// A text "parses as a URL" when it is a valid RFC 3986 URI reference.
std::optional<boost::urls::url> parseURL(std::string_view text);

/// "/" first for an absolute path, then each segment percent-decoded.
std::vector<std::string> pathComponents(boost::urls::url_view url);

/// Why `url` is not an acceptable payment link (the first failing test), or
/// none when it is. `isValidPaymentURL` is this test without the reason.
std::optional<std::string_view> paymentURLRejection(boost::urls::url_view url);
bool isValidPaymentURL(boost::urls::url_view url);
std::optional<Schema> extractSchema(boost::urls::url_view url);

struct AcceptedPaymentLink {
    boost::urls::url url;
    Schema schema;
};

/// The three acceptance tests every public call applies, in order. `parsed`
/// receives the URL when the text parsed (even if a later test failed).
std::optional<AcceptedPaymentLink> acceptPaymentLink(
    std::string_view text, std::optional<boost::urls::url>* parsed = nullptr);

}  // namespace velawidget
