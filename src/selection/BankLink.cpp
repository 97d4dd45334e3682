#include "selection/BankLink.h"

#include <boost/url/parse.hpp>
#include <exception>

#include "catalogue/PaymentLink.h"
#include "core/Debug.h"
#include "core/RefusedSchemes.h"

namespace velawidget {
namespace {

void failed(std::string_view what, boost::urls::url_view paymentURL,
            const std::optional<std::string>& argument) {
    std::string line(what);
    line += " creation failed, paymentURL: ";
    line += paymentURL.buffer();
    line += ", scheme: ";
    line += argument.value_or("");
    debugLine(line);
}

/// The edited URL. Boost.URL keeps its text valid through every edit; an
/// edit that drops the scheme or the authority changes how the rest of the
/// text reads, so only then is the result read back as a check.
template <class Edit>
std::optional<boost::urls::url> recompose(boost::urls::url_view paymentURL, bool recheck,
                                          Edit edit) {
    try {
        boost::urls::url result(paymentURL);
        edit(result);
        if (recheck && !boost::urls::parse_uri_reference(result.buffer())) return std::nullopt;
        return result;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

/// The built link, unless it would reach local files or browser internals, or
/// run script. Judged on the finished text, whatever the bank's record spelled,
/// so that "javascript", "JavaScript:x" and a web client "file:///x" all end
/// here alike.
std::optional<boost::urls::url> refuseUnsafe(std::optional<boost::urls::url> link,
                                             std::string_view what,
                                             boost::urls::url_view paymentURL,
                                             const std::optional<std::string>& argument) {
    if (!link || !isRefusedLink(link->buffer())) return link;
    failed(what, paymentURL, argument);
    return std::nullopt;
}

}  // namespace

std::optional<boost::urls::url> makeAppLink(boost::urls::url_view paymentURL,
                                            const std::optional<std::string>& appScheme) {
    if (!appScheme || appScheme->empty()) {
        failed("app link", paymentURL, appScheme);
        return std::nullopt;
    }
    const std::string text = *appScheme + "://";
    const auto parsed = boost::urls::parse_uri_reference(text);
    if (!parsed) {
        failed("app link", paymentURL, appScheme);
        return std::nullopt;
    }
    auto link = recompose(paymentURL, !parsed->has_scheme(), [&](boost::urls::url& url) {
        if (parsed->has_scheme()) {
            url.set_scheme(parsed->scheme());
        } else {
            url.remove_scheme();
        }
    });
    return refuseUnsafe(std::move(link), "app link", paymentURL, appScheme);
}

std::optional<boost::urls::url> makeWebLink(boost::urls::url_view paymentURL,
                                            const std::optional<std::string>& webClientUrl) {
    // An empty text is a valid empty reference to RFC 3986, but names no web client.
    std::optional<boost::urls::url> client;
    if (webClientUrl && !webClientUrl->empty()) client = parseURL(*webClientUrl);
    if (!client) {
        failed("web link", paymentURL, webClientUrl);
        return std::nullopt;
    }
    auto link = recompose(paymentURL, true, [&](boost::urls::url& url) {
        if (client->has_scheme()) {
            url.set_scheme(client->scheme());
        } else {
            url.remove_scheme();
        }
        // Only the host is taken over; without an authority there is no host to
        // keep, and the payment's user information and port go with it.
        if (client->has_authority()) {
            url.set_encoded_host(client->encoded_host());
        } else {
            url.remove_authority();
        }
    });
    return refuseUnsafe(std::move(link), "web link", paymentURL, webClientUrl);
}

std::optional<boost::urls::url> makeBankLink(boost::urls::url_view paymentURL, const Bank& bank) {
    if (bank.webClientActive()) return makeWebLink(paymentURL, bank.webClientUrl);
    return makeAppLink(paymentURL, bank.appScheme);
}

}  // namespace velawidget
