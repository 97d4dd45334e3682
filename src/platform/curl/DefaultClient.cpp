#include <velawidget/curl/CurlHttpClient.h>

#include <memory>

#include "platform/DefaultHttpClient.h"

namespace velawidget::curl {
namespace {

HttpClientPtr makeDefaultClient() {
    return std::make_shared<CurlHttpClient>();
}

}  // namespace

// Hosts that link the library for the data-only query and install nothing
// get a working client, as the README's snippet promises.
const bool detail::defaultClientOffered = setDefaultHttpClientFactory(&makeDefaultClient);

}  // namespace velawidget::curl
