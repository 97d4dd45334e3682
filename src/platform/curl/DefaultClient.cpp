#include <velawidget/curl/CurlHttpClient.h>

#include <functional>
#include <memory>
#include <utility>

#include "CurlAccess.h"
#include "platform/DefaultHttpClient.h"

namespace velawidget::curl {
namespace {

HttpClientPtr makeDefaultClient() {
    return std::make_shared<CurlHttpClient>();
}

bool fetchWithFailures(HttpClient& client, HttpRequest& request,
                       std::function<void(HttpResponse)>& completion,
                       std::function<void()>& abandon) {
    auto* curl = dynamic_cast<CurlHttpClient*>(&client);
    if (curl == nullptr) return false;
    abandon = CurlAccess::fetchAbandonable(*curl, std::move(request), std::move(completion));
    return true;
}

bool offerDefaults() {
    offerFailureReporting(&fetchWithFailures);
    return setDefaultHttpClientFactory(&makeDefaultClient);
}

}  // namespace

// Hosts that link the library for the data-only query and install nothing
// get a working client, as the README's snippet promises; every client of
// the library, a host's own included, tells the loader why a download failed.
const bool detail::defaultClientOffered = offerDefaults();

}  // namespace velawidget::curl
