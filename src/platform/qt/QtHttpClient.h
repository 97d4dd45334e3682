#pragma once

#include <velawidget/platform/HttpClient.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace velawidget::quick {

struct QtHttpClientOptions {
    /// Where the HTTP response cache lives; none keeps no cache.
    std::optional<std::filesystem::path> cacheDirectory;
    std::optional<std::filesystem::path> caFile;
    /// Address and port, already checked by the caller.
    std::optional<std::pair<std::string, std::uint16_t>> connectTo;
    std::size_t maxBodyBytes = std::size_t{16} * 1024 * 1024;
    std::chrono::milliseconds overallLimit = std::chrono::minutes(5);
    std::optional<std::chrono::milliseconds> timeoutOverride;
    std::string userAgent = "VelaWidget";
};

/// GET on a QNetworkAccessManager that lives on a thread of its own, which
/// is also the callback queue. A transport error, a TLS failure, a body over
/// the cap, a stall longer than the request's timeout or a fetch longer than
/// the overall limit completes with none; HTTP error statuses deliver their
/// body. Redirects are followed to https only. The destructor completes every
/// open request with none and joins the thread; nothing is called afterwards.
/// A completion may release the client. Needs a Q(Gui)Application.
class QtHttpClient final : public HttpClient {
  public:
    explicit QtHttpClient(QtHttpClientOptions options);
    ~QtHttpClient() override;
    QtHttpClient(const QtHttpClient&) = delete;
    QtHttpClient& operator=(const QtHttpClient&) = delete;

    void get(HttpRequest request, std::function<void(HttpBody)> completion) override;

  private:
    struct Worker;
    std::shared_ptr<Worker> worker_;
};

}  // namespace velawidget::quick
