#pragma once

#include <velawidget/platform/DispatchQueue.h>
#include <velawidget/platform/HttpClient.h>

#include <memory>
#include <mutex>

namespace velawidget {

/// The HTTP client in force when none is installed: every request ends
/// without a body, as if the network were unreachable. Completions run on
/// the given queue, or on a queue of the client's own started at first use.
class NullHttpClient final : public HttpClient {
  public:
    explicit NullHttpClient(DispatchQueuePtr callbackQueue = nullptr);
    void get(HttpRequest request, std::function<void(HttpBody)> completion) override;

  private:
    DispatchQueue& queue();

    DispatchQueuePtr queue_;
    std::once_flag started_;
};

}  // namespace velawidget
