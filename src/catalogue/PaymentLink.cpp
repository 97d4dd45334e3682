#include "catalogue/PaymentLink.h"

#include <boost/url/parse.hpp>
#include <boost/url/pct_string_view.hpp>

#include "catalogue/GraphemeCount.h"
#include "core/Debug.h"

namespace velawidget {
namespace {

constexpr std::size_t paymentIdLength = 32;

std::string decoded(std::string_view encoded) {
    // The text comes from a URL that parsed, so its escapes are well formed.
    auto pct = boost::urls::make_pct_string_view(encoded);
    return pct ? pct->decode() : std::string(encoded);
}

std::optional<Schema> schemaOfHost(boost::urls::url_view url) {
    if (!url.has_authority()) return std::nullopt;
    // As written: a percent-escaped or capitalised host is not a link host.
    const std::string_view written = url.encoded_host();
    for (Schema schema : allSchemas) {
        if (written == host(schema)) return schema;
    }
    return std::nullopt;
}

/// A written port must name a real one: an empty port ("host:") and port 0
/// are refused too, since readers disagree on what they mean.
bool portUsable(boost::urls::url_view url) {
    if (!url.has_port()) return true;
    const std::string_view digits = url.port();
    if (digits.empty()) return false;
    unsigned long value = 0;
    for (const char c : digits) {
        value = value * 10 + static_cast<unsigned long>(c - '0');
        if (value > 65535) return false;
    }
    return value > 0;
}

/// "." or "..", also hidden behind escapes ("%2e") or behind an escaped
/// separator ("..%2F"): a reader that decodes before it resolves would move
/// the link to another resource.
bool holdsDotSegment(std::string_view decodedSegment) {
    for (;;) {
        const auto end = decodedSegment.find_first_of("/\\");
        const auto piece = decodedSegment.substr(0, end);
        if (piece == "." || piece == "..") return true;
        if (end == std::string_view::npos) return false;
        decodedSegment.remove_prefix(end + 1);
    }
}

}  // namespace

std::optional<boost::urls::url> parseURL(std::string_view text) {
    auto parsed = boost::urls::parse_uri_reference(text);
    if (!parsed) return std::nullopt;
    return boost::urls::url(*parsed);
}

std::vector<std::string> pathComponents(boost::urls::url_view url) {
    // The encoded path is split by hand: Boost's segment view hides a leading
    // "." segment, which would let "/./<id>" pass as "/<id>".
    std::string_view path = url.encoded_path();
    std::vector<std::string> components;
    if (path.empty()) return components;
    if (path.front() == '/') {
        components.emplace_back("/");
        path.remove_prefix(1);
        if (path.empty()) return components;
    }
    for (;;) {
        const auto slash = path.find('/');
        components.push_back(decoded(path.substr(0, slash)));
        if (slash == std::string_view::npos) break;
        path.remove_prefix(slash + 1);
    }
    return components;
}

std::optional<std::string_view> paymentURLRejection(boost::urls::url_view url) {
    if (!url.has_scheme() || url.scheme() != "https") return "the scheme is not \"https\"";
    if (!schemaOfHost(url)) return "the host is not a payment-link host";
    if (!portUsable(url)) return "the port is not a number from 1 to 65535";
    const auto components = pathComponents(url);
    if (components.size() < 2 || components.front() != "/") return "the path has no segment";
    const auto length = graphemeCount(components[1], paymentIdLength + 1);
    if (!length) return "the first path segment is not valid UTF-8";
    if (*length != paymentIdLength) return "the first path segment is not 32 characters long";
    for (std::size_t i = 1; i < components.size(); ++i) {
        if (holdsDotSegment(components[i])) return "the path holds a \".\" or \"..\" segment";
    }
    return std::nullopt;
}

bool isValidPaymentURL(boost::urls::url_view url) {
    return !paymentURLRejection(url);
}

std::optional<Schema> extractSchema(boost::urls::url_view url) {
    if (auto schema = schemaOfHost(url)) {
        std::string line = "extracted ";
        line += rawValue(*schema);
        line += " schema from ";
        line += url.buffer();
        debugLine(line);
        return schema;
    }
    debugLine("schema extraction failed, url: " + std::string(url.buffer()));
    return std::nullopt;
}

std::optional<AcceptedPaymentLink> acceptPaymentLink(std::string_view text,
                                                     std::optional<boost::urls::url>* parsed) {
    auto url = parseURL(text);
    if (parsed) *parsed = url;
    if (!url || !isValidPaymentURL(*url)) return std::nullopt;
    auto schema = extractSchema(*url);
    if (!schema) return std::nullopt;
    return AcceptedPaymentLink{std::move(*url), *schema};
}

}  // namespace velawidget
