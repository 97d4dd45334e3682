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

enum class CachePolicy {
    /// Every request goes to the server (bank lists).
    ignoreLocalCache,
    /// Answer from the client's response cache when it holds the URL (logos).
    useCacheFirst,
};

/// One GET request.
struct HttpRequest {
    std::string url;  ///< absolute URL text
    /// Ends a request that receives no body byte for this long; connecting and
    /// the whole header block count as the wait for the first.
    std::chrono::milliseconds timeout{std::chrono::seconds(60)};
    /// Whether the client's own response cache may answer.
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

}  // namespace velawidget
