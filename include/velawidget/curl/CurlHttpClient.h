#pragma once

#include <velawidget/export.h>
#include <velawidget/platform/HttpClient.h>
#include <velawidget/platform/HttpClientOptions.h>

#include <cstddef>
#include <memory>

namespace velawidget::curl {

/// Settings of a `CurlHttpClient`: the common ones.
struct CurlHttpClientOptions : HttpClientOptions {
    /// Unused: the client only moves bytes, and the kit's own
    /// response cache, above every client, answers "use cache first"
    /// requests. Kept so that the options keep their layout.
    std::size_t responseCacheBytes = std::size_t{8} * 1024 * 1024;
};

/// HTTP GET on libcurl. A program that links `VelaWidget::curl` and installs
/// no HTTP client of its own gets one of these, with the default options, as
/// the platform's client; a host's platform or the Qt platform still wins. One worker thread runs
/// all transfers on a curl multi handle and is the client's callback queue: every completion runs
/// there, exactly once. TLS peer and host verification are always on; redirects are followed to
/// https addresses only. The client keeps no response cache: every request goes to the server,
/// whatever its cache policy.
///
/// Destruction completes the requests still open with no body (on the worker),
/// then joins the worker: no completion runs after the destructor returns.
/// A completion may drop the last reference to its own client; the requests
/// still open then end with no body right after that completion returns.
class VELAWIDGET_CURL_API CurlHttpClient final : public HttpClient {
  public:
    /// Throws `std::runtime_error` when libcurl cannot be initialised or
    /// `connectTo` is not ADDRESS:PORT.
    explicit CurlHttpClient(CurlHttpClientOptions options = {});
    ~CurlHttpClient() override;
    CurlHttpClient(const CurlHttpClient&) = delete;
    CurlHttpClient& operator=(const CurlHttpClient&) = delete;

    /// See `HttpClient::get`; callable from any thread, the completion included.
    void get(HttpRequest request, std::function<void(HttpBody)> completion) override;
    /// As `HttpClientWithFailures::fetch`: the same request, with the status
    /// and the reason for a missing body; callable from any thread. The
    /// kit's loader uses it. (The class keeps its 1.0 base, so this is not
    /// an override.)
    void fetch(HttpRequest request, std::function<void(HttpResponse)> completion);

    /// The settings the client was made with.
    const CurlHttpClientOptions& options() const noexcept;

  private:
    struct Worker;
    friend struct CurlAccess;  // the library's own calls for the kit
    std::shared_ptr<Worker> worker_;
};

namespace detail {
/// True once the library offered its client as the default. Every program
/// that links the library compiles a reference to it
/// (velawidget/curl/LinkDefaultClient.cpp, the library's interface source), so
/// the offer is linked in and made before `main`, static builds and
/// `--as-needed` links included.
VELAWIDGET_CURL_API extern const bool defaultClientOffered;
}  // namespace detail

}  // namespace velawidget::curl
