#pragma once

#include <velawidget/platform/HttpClient.h>
#include <velawidget/platform/HttpClientOptions.h>

#include <filesystem>
#include <memory>
#include <optional>

namespace velawidget::quick {

/// The common client settings, and where the response cache lives.
struct QtHttpClientOptions : HttpClientOptions {
    /// None keeps no cache.
    std::optional<std::filesystem::path> cacheDirectory;
};

/// GET on QNetworkAccessManagers that live on a thread of their own, which
/// is also the callback queue. Whether a body is delivered is decided by the
/// HTTP status alone: every status delivers its body, while a transport
/// error, a TLS failure, a body that does not decompress, a body (compressed
/// or not) over the cap, a header block over `maxHeaderBytes`, no body byte
/// within the request's timeout (the header block included) or a fetch longer
/// than the overall limit completes with none. Redirects are followed to
/// https only. Cache-first requests are answered from the disk cache whenever
/// it holds the address, however old, and travel on a manager of their own,
/// so that they never take the connections a bank list needs. Construction
/// touches no file: the CA file is read and the cache directory made at the
/// first request that needs them. The destructor completes every open
/// request with none and joins the thread; nothing is called afterwards. A
/// completion may release the client. Needs a Q(Gui)Application; when that
/// object goes, the client ends its work as its destructor would, and a
/// later request is answered at once with none.
class QtHttpClient final : public HttpClientWithFailures {
  public:
    /// Throws `std::invalid_argument` when `connectTo` is not ADDRESS:PORT.
    explicit QtHttpClient(QtHttpClientOptions options);
    ~QtHttpClient() override;
    QtHttpClient(const QtHttpClient&) = delete;
    QtHttpClient& operator=(const QtHttpClient&) = delete;

    void fetch(HttpRequest request, std::function<void(HttpResponse)> completion) override;

  private:
    struct Worker;
    std::shared_ptr<Worker> worker_;
};

}  // namespace velawidget::quick
