#pragma once

#include <velawidget/export.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace velawidget {

/// The largest bank-list document the kit takes: the default body cap of the
/// kit's HTTP clients and the read cap of the bank-list cache files. One value,
/// so that every list a client delivers can be cached and read back; a client
/// set to a larger cap still delivers larger lists, but they are not cached.
inline constexpr std::size_t maxBankListBytes = std::size_t{16} * 1024 * 1024;

/// Response headers larger than this in all end a request with no body, in
/// every client of the kit.
inline constexpr std::size_t maxHeaderBytes = std::size_t{64} * 1024;

/// How the kit means to use an answer. The kit's own clients only move
/// bytes and send every request; the kit keeps "use cache first" answers
/// itself, above whichever client is installed. A host's client may still
/// answer such a request from a cache of its own.
enum class CachePolicy {
    /// Every request goes to the server (bank lists).
    ignoreLocalCache,
    /// A kept answer will do when there is one, however old (logos).
    useCacheFirst,
};

/// One GET request.
struct HttpRequest {
    std::string url;  ///< absolute URL text
    /// Ends a request that receives no body byte for this long; connecting and
    /// the whole header block count as the wait for the first.
    std::chrono::milliseconds timeout{std::chrono::seconds(60)};
    /// Whether a kept answer will do.
    CachePolicy cachePolicy = CachePolicy::ignoreLocalCache;
};

/// The body of a finished transfer, whatever its status code; absent on any
/// transport failure, truncation, a body that does not decompress, a body
/// over the client's size cap or a header block over 64 KiB.
using HttpBody = std::optional<std::string>;

/// HTTP GET. `get` returns at once; the completion runs exactly once, on the
/// client's own callback queue (never inline, never on the caller's thread).
class VELAWIDGET_API HttpClient {
  public:
    virtual ~HttpClient() = default;
    /// Starts the request and returns at once. `completion` receives the body,
    /// or none on failure, exactly once, on the client's callback queue.
    virtual void get(HttpRequest request, std::function<void(HttpBody)> completion) = 0;
};

using HttpClientPtr = std::shared_ptr<HttpClient>;

/// Why a transfer delivered no body.
enum class HttpFailure {
    none,          ///< a body arrived (whatever its status)
    offline,       ///< no network route at all
    dnsLookup,     ///< the host name did not resolve
    connect,       ///< the connection was refused or could not be made
    tls,           ///< the handshake failed or the certificate was not trusted
    timeout,       ///< no progress within the request's timeout, or over the overall limit
    bodyTooLarge,  ///< the body, as sent or decompressed, was over the client's cap
    transport,     ///< anything else: truncation, bad compression, huge headers, redirects
};

/// A finished transfer as a client that reports failures sees it.
struct HttpResponse {
    /// As `HttpClient::get` delivers it.
    HttpBody body;
    /// `none` exactly when `body` holds a value.
    HttpFailure failure = HttpFailure::none;
    /// The final HTTP status, 0 when no response arrived.
    int status = 0;
};

/// A client that says why a transfer failed; the loader asks for it when the
/// installed client offers it. The Qt client implements it, and
/// `curl::CurlHttpClient` has the same `fetch` (its base stays `HttpClient`,
/// as in 1.0). A host's client may implement it too, or stay a plain
/// `HttpClient`: a missing body then counts as `transport`.
class VELAWIDGET_API HttpClientWithFailures : public HttpClient {
  public:
    /// As `get`, with the status and the reason for a missing body; the same
    /// threading and exactly-once rules.
    virtual void fetch(HttpRequest request, std::function<void(HttpResponse)> completion) = 0;

    /// `fetch`, keeping the body only.
    void get(HttpRequest request, std::function<void(HttpBody)> completion) override;
};

}  // namespace velawidget
