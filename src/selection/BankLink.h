#pragma once

#include <boost/url/url.hpp>
#include <boost/url/url_view.hpp>
#include <optional>
#include <string>

#include "catalogue/BankListDocument.h"

namespace velawidget {

// Every builder yields no link rather than one under a refused scheme
// (core/RefusedSchemes.h): a bank whose record names one has no link.

/// The payment link under the bank app's scheme; every other component kept byte for byte.
std::optional<boost::urls::url> makeAppLink(boost::urls::url_view paymentURL,
                                            const std::optional<std::string>& appScheme);
/// The payment link moved onto the web client's scheme and host.
std::optional<boost::urls::url> makeWebLink(boost::urls::url_view paymentURL,
                                            const std::optional<std::string>& webClientUrl);
/// The web link when the bank's web client is active, else the app link; no fallback.
std::optional<boost::urls::url> makeBankLink(boost::urls::url_view paymentURL, const Bank& bank);

}  // namespace velawidget
