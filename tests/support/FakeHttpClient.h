#pragma once

#include <velawidget/platform/HttpClient.h>
#include <velawidget/platform/RunLoop.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace vela::test {

/// An HTTP client the test drives by hand. Every `get` is recorded and stays
/// pending until the test answers it; answers may come in any order. A
/// completion then runs on `callbackQueue()`, a run loop the test spins with
/// `runUntilIdle()`, never inside `get` or `respond`.
class FakeHttpClient final : public velawidget::HttpClient {
  public:
    FakeHttpClient();

    void get(velawidget::HttpRequest request,
             std::function<void(velawidget::HttpBody)> completion) override;

    /// Every request received so far, in arrival order.
    std::vector<velawidget::HttpRequest> requests() const;
    std::size_t pendingCount() const;
    /// The addresses of the requests not yet answered, in arrival order.
    std::vector<std::string> pendingURLs() const;
    /// Answers the pending request at `index` (0 = oldest still pending).
    /// Throws std::out_of_range when there is none.
    void respond(std::size_t index, velawidget::HttpBody body);
    /// Answers every pending request, oldest first, with the same body.
    void respondAll(const velawidget::HttpBody& body);

    velawidget::RunLoop& callbackQueue() { return *queue_; }

  private:
    struct Pending {
        velawidget::HttpRequest request;
        std::function<void(velawidget::HttpBody)> completion;
    };

    mutable std::mutex mutex_;
    std::shared_ptr<velawidget::RunLoop> queue_;
    std::vector<velawidget::HttpRequest> requests_;
    std::vector<Pending> pending_;
};

}  // namespace vela::test
