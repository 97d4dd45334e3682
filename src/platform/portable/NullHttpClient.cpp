#include "platform/portable/NullHttpClient.h"

#include <velawidget/platform/SerialQueue.h>

#include <utility>

namespace velawidget {

NullHttpClient::NullHttpClient(DispatchQueuePtr callbackQueue) : queue_(std::move(callbackQueue)) {}

DispatchQueue& NullHttpClient::queue() {
    // The worker exists only once something asks for a download.
    std::call_once(started_, [this] {
        if (!queue_) queue_ = std::make_shared<SerialQueue>("velawidget.null-http");
    });
    return *queue_;
}

void NullHttpClient::get(HttpRequest, std::function<void(HttpBody)> completion) {
    if (!completion) return;
    queue().async([completion = std::move(completion)] { completion(std::nullopt); });
}

}  // namespace velawidget
