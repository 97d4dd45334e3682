#include "support/FakeHttpClient.h"

#include <stdexcept>
#include <utility>

namespace vela::test {

using velawidget::HttpBody;
using velawidget::HttpRequest;

FakeHttpClient::FakeHttpClient() : queue_(std::make_shared<velawidget::RunLoop>()) {}

void FakeHttpClient::get(HttpRequest request, std::function<void(HttpBody)> completion) {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
    pending_.push_back({std::move(request), std::move(completion)});
}

std::vector<HttpRequest> FakeHttpClient::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::size_t FakeHttpClient::pendingCount() const {
    std::lock_guard lock(mutex_);
    return pending_.size();
}

std::vector<std::string> FakeHttpClient::pendingURLs() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> urls;
    for (const auto& pending : pending_) urls.push_back(pending.request.url);
    return urls;
}

void FakeHttpClient::respond(std::size_t index, HttpBody body) {
    Pending answered;
    {
        std::lock_guard lock(mutex_);
        if (index >= pending_.size()) throw std::out_of_range("no such pending request");
        answered = std::move(pending_[index]);
        pending_.erase(pending_.begin() + static_cast<std::ptrdiff_t>(index));
    }
    queue_->async([completion = std::move(answered.completion), body = std::move(body)] {
        completion(body);
    });
}

void FakeHttpClient::respondAll(const HttpBody& body) {
    while (pendingCount() > 0) respond(0, body);
}

}  // namespace vela::test
