#pragma once

#include <velawidget/platform/DispatchQueue.h>
#include <velawidget/platform/FileStore.h>
#include <velawidget/platform/HttpClient.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/Observable.h"

namespace velawidget {

struct ResponseCacheSettings {
    /// The most files the cache holds: each URL has one slot by its hash, and
    /// a later URL in the same slot replaces the earlier one. So the folder
    /// stays bounded without ever being listed.
    std::size_t slots = 512;
    /// A larger body is delivered but not kept; with `slots` it bounds the
    /// folder (512 × 256 KiB).
    std::size_t maxBodyBytes = std::size_t{256} * 1024;
    /// A longer address is fetched but not kept (the longest logo address a
    /// bank list may hold is 4,096 bytes).
    std::size_t maxURLBytes = 8192;
    /// The folder in the caches directory; the file store makes it, for the
    /// POSIX one readable by its owner only, as every file in it.
    std::string folder = "responses";
};

/// "Use cache first" for whichever HTTP client is installed: the clients
/// only move bytes, and this layer keeps responses in files of the
/// platform's `FileStore`. A cache-first request is answered from its file,
/// whatever its age (logos show offline), or else fetched and, when it came
/// whole with status 200 (or from a client that tells no status) and the
/// caller finds it worth keeping, stored for next time. Other requests go
/// to the client as they are. A file that is missing, holds another
/// address, is cut short, over its size or anything else is a miss.
///
/// Threads: `get` may be called from any thread and returns at once. Files
/// are read and written on `fileQueue` only, which must not be the main
/// thread's queue. The completion runs exactly once, never inside `get`:
/// on `fileQueue` when a file answers, on the client's callback queue when
/// the network does. The object may go before its requests end: they are
/// still answered, and what they bring is no longer kept.
class ResponseCache {
  public:
    /// Whether a body is worth keeping (called on the client's callback
    /// queue, before the completion); none keeps every body.
    using KeepTest = std::function<bool(std::string_view body)>;

    ResponseCache(HttpClientPtr http, FileStorePtr files, DispatchQueuePtr fileQueue,
                  ResponseCacheSettings settings = {});

    /// Starts `request`. Releasing the handle calls it off: from then on the
    /// completion is never called, a request still waiting for its file is
    /// never sent, and one the client has is abandoned when the client can
    /// (the kit's own clients). A release while the completion runs on another thread
    /// waits for it to return, so after the release nothing reaches the
    /// caller; `fileQueue` must live until then.
    [[nodiscard]] Cancellable get(HttpRequest request, std::function<void(HttpBody)> completion,
                                  KeepTest worthKeeping = {}) const;

  private:
    struct Shared;
    std::shared_ptr<const Shared> shared_;
};

}  // namespace velawidget
