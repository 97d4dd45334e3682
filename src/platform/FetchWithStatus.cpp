#include "platform/FetchWithStatus.h"

#include <utility>

#include "platform/DefaultHttpClient.h"

namespace velawidget {

void fetchWithStatus(HttpClient& client, HttpRequest request,
                     std::function<void(HttpResponse)> completion) {
    if (auto* reporting = dynamic_cast<HttpClientWithFailures*>(&client)) {
        return reporting->fetch(std::move(request), std::move(completion));
    }
    // The curl client keeps its 1.0 base: its library offers its fetch instead.
    if (const auto fetch = failureReporting(); fetch && fetch(client, request, completion)) return;
    client.get(std::move(request), [completion = std::move(completion)](HttpBody body) {
        const HttpFailure failure = body ? HttpFailure::none : HttpFailure::transport;
        completion({std::move(body), failure, 0});
    });
}

}  // namespace velawidget
