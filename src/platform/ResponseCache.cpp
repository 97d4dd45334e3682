#include "platform/ResponseCache.h"

#include <cerrno>
#include <filesystem>
#include <mutex>
#include <optional>
#include <system_error>
#include <utility>
#include <variant>

#include "core/AnswerGate.h"
#include "core/Debug.h"
#include "platform/CacheEntry.h"
#include "platform/FetchWithStatus.h"
#include "platform/portable/NullHttpClient.h"

namespace velawidget {

struct ResponseCache::Shared {
    HttpClientPtr http;
    FileStorePtr files;
    DispatchQueuePtr fileQueue;
    ResponseCacheSettings settings;

    /// The file `url` would live in; none without a caches directory or for
    /// an address too long to keep.
    std::optional<std::filesystem::path> fileFor(const std::string& url) const {
        if (!files || !fileQueue || url.size() > settings.maxURLBytes) return std::nullopt;
        const auto directory = files->cachesDirectory();
        if (!directory || directory->empty()) return std::nullopt;
        return *directory / settings.folder / cacheSlotFileName(cacheSlotOf(url, settings.slots));
    }

    /// On the file queue. Read with a cap of the largest entry this URL may
    /// have, so a huge file costs no more than a kept one.
    HttpBody read(const std::filesystem::path& file, const std::string& url) const {
        auto bytes = files->read(file, cacheEntryHeaderBytes + url.size() + settings.maxBodyBytes);
        if (const auto* error = std::get_if<std::error_code>(&bytes)) {
            if (*error != std::errc::no_such_file_or_directory) {
                debugLine("response cache: " + file.filename().string() +
                          " unreadable: " + error->message());
            }
            return std::nullopt;
        }
        return decodeCacheEntry(std::get<std::string>(bytes), url);
    }

    /// On the file queue.
    void write(const std::filesystem::path& file, const std::string& entry) const {
        if (auto error = files->write(file, entry)) {
            debugLine("response cache: " + file.filename().string() +
                      " not written: " + error.message());
        }
    }
};

namespace {

/// One request: its completion, taken by the one answer that passes the
/// gate, and what abandons its transfer once the client has it.
struct Call {
    std::shared_ptr<AnswerGate> gate;
    std::function<void(HttpBody)> completion;
    std::mutex abandonLock;  // the caller's release and the client's start
    Abandon abandon;
    bool released = false;

    /// The client has the request; a release that came first abandons it now.
    void sent(Abandon what) {
        {
            const std::lock_guard lock(abandonLock);
            if (!released) {
                abandon = std::move(what);
                return;
            }
        }
        if (what) what();
    }

    void release() {
        gate->close();
        Abandon what;
        {
            const std::lock_guard lock(abandonLock);
            released = true;
            what = std::move(abandon);
        }
        if (what) what();
    }

    /// `before` runs first, under the same gate: work that must not happen
    /// for a request called off.
    template <class Before>
    void answer(HttpBody body, Before&& before) {
        gate->pass([&] {
            before();
            if (auto done = std::exchange(completion, {})) done(std::move(body));
        });
    }
    void answer(HttpBody body) {
        answer(std::move(body), [] {});
    }
};

}  // namespace

ResponseCache::ResponseCache(HttpClientPtr http, FileStorePtr files, DispatchQueuePtr fileQueue,
                             ResponseCacheSettings settings)
    : shared_(std::make_shared<const Shared>(
          Shared{http ? std::move(http) : std::make_shared<NullHttpClient>(), std::move(files),
                 std::move(fileQueue), std::move(settings)})) {}

Cancellable ResponseCache::get(HttpRequest request, std::function<void(HttpBody)> completion,
                               KeepTest worthKeeping) const {
    auto call = std::make_shared<Call>();
    call->gate = std::make_shared<AnswerGate>();
    call->completion = std::move(completion);
    Cancellable handle([weak = std::weak_ptr<Call>(call)] {
        if (auto alive = weak.lock()) alive->release();
    });
    const auto file = request.cachePolicy == CachePolicy::useCacheFirst
                          ? shared_->fileFor(request.url)
                          : std::nullopt;

    auto send = [shared = shared_, call, file,
                 keep = std::move(worthKeeping)](HttpRequest request) mutable {
        const std::string url = request.url;
        call->sent(fetchWithStatus(
            *shared->http, std::move(request),
            // Weak: the client holds this completion until it answers, and
            // a strong hold on the cache's state, which holds the client,
            // would keep both for good behind a request never answered.
            [weak = std::weak_ptr<const Shared>(shared), call, file, url,
             keep = std::move(keep)](HttpResponse response) {
                const auto shared = weak.lock();
                // Status 0 with a body: a client that tells no status.
                const bool whole =
                    response.body && (response.status == 200 || response.status == 0);
                std::optional<std::string> entry;
                if (shared && file && whole &&
                    response.body->size() <= shared->settings.maxBodyBytes &&
                    (!keep || keep(*response.body))) {
                    entry = encodeCacheEntry(url, *response.body);
                }
                call->answer(std::move(response.body), [&] {
                    if (!entry) return;
                    // Queued before the completion runs, so a request the
                    // completion makes for the same address finds the file.
                    shared->fileQueue->async([shared, file = *file, entry = std::move(*entry)] {
                        shared->write(file, entry);
                    });
                });
            }));
    };
    if (!file) {
        send(std::move(request));
        return handle;
    }
    shared_->fileQueue->async([shared = shared_, call, file = *file, request = std::move(request),
                               send = std::move(send)]() mutable {
        // Called off before its turn: not even sent.
        if (call->gate->closed()) return;
        if (auto body = shared->read(file, request.url)) return call->answer(std::move(body));
        send(std::move(request));
    });
    return handle;
}

}  // namespace velawidget
