#include <velawidget/platform/HttpClient.h>

#include <utility>

namespace velawidget {

void HttpClientWithFailures::get(HttpRequest request, std::function<void(HttpBody)> completion) {
    if (!completion) return fetch(std::move(request), {});
    fetch(std::move(request), [completion = std::move(completion)](HttpResponse response) {
        completion(std::move(response.body));
    });
}

}  // namespace velawidget
