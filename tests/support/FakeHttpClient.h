#pragma once

#include <velawidget/platform/HttpClient.h>
#include <velawidget/platform/RunLoop.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace vela::test {

/// An HTTP client the test drives by hand. Every `get` is recorded and stays
/// pending until the test answers it; answers may come in any order. A
/// completion then runs on `callbackQueue()`, a run loop the test spins with
/// `runUntilIdle()`, never inside `get` or `respond`.
class FakeHttpClient final : public velawidget::HttpClient {
  public:
    void get(velawidget::HttpRequest request,
             std::function<void(velawidget::HttpBody)> completion) override {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        pending_.push_back({std::move(request), std::move(completion)});
    }

    /// Every request received so far, in arrival order.
    std::vector<velawidget::HttpRequest> requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }
    std::size_t pendingCount() const {
        std::lock_guard lock(mutex_);
        return pending_.size();
    }
    /// The addresses of the requests not yet answered, in arrival order.
    std::vector<std::string> pendingURLs() const {
        std::lock_guard lock(mutex_);
        std::vector<std::string> urls;
        for (const auto& pending : pending_) urls.push_back(pending.request.url);
        return urls;
    }
    /// Answers the pending request at `index` (0 = oldest still pending).
    void respond(std::size_t index, velawidget::HttpBody body) {
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
    /// Answers every pending request, oldest first, with the same body.
    void respondAll(const velawidget::HttpBody& body) {
        while (pendingCount() > 0) respond(0, body);
    }

    velawidget::RunLoop& callbackQueue() { return *queue_; }

  private:
    struct Pending {
        velawidget::HttpRequest request;
        std::function<void(velawidget::HttpBody)> completion;
    };

    mutable std::mutex mutex_;
    std::shared_ptr<velawidget::RunLoop> queue_ = std::make_shared<velawidget::RunLoop>();
    std::vector<velawidget::HttpRequest> requests_;
    std::vector<Pending> pending_;
};

}  // namespace vela::test
