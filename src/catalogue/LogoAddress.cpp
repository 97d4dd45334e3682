#include "catalogue/LogoAddress.h"

#include <boost/url/parse.hpp>

namespace velawidget {

std::optional<std::string> logoAddress(std::string_view text) {
    // An empty text is a valid empty reference to RFC 3986 but names no logo.
    if (text.empty()) return std::nullopt;
    // Checked, not rebuilt: a parsed reference's text is the text itself, and
    // a whole bank list goes through here before its first row is drawn.
    if (!boost::urls::parse_uri_reference(text)) return std::nullopt;
    return std::string(text);
}

}  // namespace velawidget
