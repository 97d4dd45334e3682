#include "platform/FetchWithStatus.h"

#include <utility>

#include "platform/DefaultHttpClient.h"

namespace velawidget {

AbandoningClient::~AbandoningClient() = default;

Abandon fetchWithStatus(HttpClient& client, HttpRequest request,
                        std::function<void(HttpResponse)> completion) {
    if (auto* abandoning = dynamic_cast<AbandoningClient*>(&client)) {
        return abandoning->fetchAbandonable(std::move(request), std::move(completion));
    }
    // The curl client keeps its 1.0 base: its library offers its fetch instead.
    Abandon abandon;
    if (const auto fetch = failureReporting();
        fetch && fetch(client, request, completion, abandon)) {
        return abandon;
    }
    if (auto* reporting = dynamic_cast<HttpClientWithFailures*>(&client)) {
        reporting->fetch(std::move(request), std::move(completion));
        return {};
    }
    client.get(std::move(request), [completion = std::move(completion)](HttpBody body) {
        const HttpFailure failure = body ? HttpFailure::none : HttpFailure::transport;
        completion({std::move(body), failure, 0});
    });
    return {};
}

}  // namespace velawidget
