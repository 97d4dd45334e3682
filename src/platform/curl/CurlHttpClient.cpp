#include <curl/curl.h>
#include <velawidget/curl/CurlHttpClient.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

#include "CurlAccess.h"
#include "core/ConnectTo.h"
#include "platform/ContentDecoding.h"
#include "platform/RedirectLimit.h"

namespace velawidget::curl {
namespace {

using Clock = std::chrono::steady_clock;

void initialiseLibcurlOnce() {
    static std::once_flag once;
    static CURLcode status = CURLE_OK;
    std::call_once(once, [] { status = curl_global_init(CURL_GLOBAL_DEFAULT); });
    if (status != CURLE_OK) throw std::runtime_error("libcurl could not be initialised");
}

/// "ADDRESS:PORT" as curl's connect-to list entry that matches every host and port.
std::string connectToEntry(const std::string& target) {
    const auto parsed = parseConnectTo(target);
    if (const auto* reason = std::get_if<std::string>(&parsed)) throw std::runtime_error(*reason);
    return "::" + target;
}

struct Transfer {
    std::uint64_t id = 0;  // what abandoning names it by
    HttpRequest request;
    std::function<void(HttpResponse)> completion;
    CURL* easy = nullptr;
    std::string body;  // as sent: decoded once complete
    std::string contentEncoding;
    std::size_t cap = 0;
    std::size_t headerBytes = 0;
    bool headersComplete = false;  // of the latest response
    bool overCap = false;
    Clock::time_point lastProgress = Clock::now();
    curl_off_t lastDownloaded = 0;
    curl_off_t lastUploaded = 0;
};

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const std::size_t length = size * count;
    transfer.lastProgress = Clock::now();
    if (length > transfer.cap - transfer.body.size()) {
        transfer.overCap = true;
        return 0;  // makes curl end the transfer with a write error
    }
    transfer.body.append(data, length);
    return length;
}

/// Header lines do not count as progress: a header block trickled in must
/// be complete within the request's timeout, as in the Qt client.
std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const std::size_t length = size * count;
    const std::string_view line(data, length);
    // Each response of a redirect chain has a block of its own.
    if (line.starts_with("HTTP/")) {
        transfer.headerBytes = 0;
        transfer.headersComplete = false;
        transfer.contentEncoding.clear();
    }
    transfer.headerBytes += length;
    if (line == "\r\n" || line == "\n") transfer.headersComplete = true;
    if (const auto colon = line.find(':'); colon != std::string_view::npos) {
        std::string name(line.substr(0, colon));
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (name == "content-encoding") {
            std::string_view value = line.substr(colon + 1);
            while (!value.empty() && (value.back() == '\r' || value.back() == '\n')) {
                value.remove_suffix(1);
            }
            transfer.contentEncoding = value;
        }
    }
    return transfer.headerBytes > maxHeaderBytes ? 0 : length;
}

int onProgress(void* user, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t uploaded) {
    auto& transfer = *static_cast<Transfer*>(user);
    if (downloaded != transfer.lastDownloaded || uploaded != transfer.lastUploaded) {
        transfer.lastDownloaded = downloaded;
        transfer.lastUploaded = uploaded;
        transfer.lastProgress = Clock::now();
    }
    return 0;
}

void deliver(std::function<void(HttpResponse)>& completion, HttpResponse response) {
    if (!completion) return;
    // A throwing completion must not take the worker, and every later
    // request, down with it.
    try {
        completion(std::move(response));
    } catch (...) {
    }
}

HttpResponse failed(HttpFailure failure, int status = 0) {
    return {std::nullopt, failure, status};
}

bool isTlsFailure(CURLcode result) {
    switch (result) {
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_ENGINE_NOTFOUND:
        case CURLE_SSL_ENGINE_SETFAILED:
        case CURLE_SSL_ENGINE_INITFAILED:
        case CURLE_SSL_SHUTDOWN_FAILED:
        case CURLE_SSL_CRL_BADFILE:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        case CURLE_SSL_INVALIDCERTSTATUS:
        case CURLE_SSL_CLIENTCERT:
            return true;
        default:
            return false;
    }
}

/// Why a transfer that curl ended with `result` gave no body. `osError` is
/// the system's error of the last connection attempt.
HttpFailure failureOf(CURLcode result, long osError) {
    if (isTlsFailure(result)) return HttpFailure::tls;
    switch (result) {
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
            return HttpFailure::dnsLookup;
        case CURLE_COULDNT_CONNECT:
            // No route at all is the device's own state, not the server's.
            return osError == ENETUNREACH || osError == ENETDOWN || osError == EHOSTUNREACH
                       ? HttpFailure::offline
                       : HttpFailure::connect;
        case CURLE_OPERATION_TIMEDOUT:
            return HttpFailure::timeout;
        case CURLE_FILESIZE_EXCEEDED:
            return HttpFailure::bodyTooLarge;
        default:
            return HttpFailure::transport;
    }
}

}  // namespace

struct CurlHttpClient::Worker {
    explicit Worker(CurlHttpClientOptions settings) : options(std::move(settings)) {
        initialiseLibcurlOnce();
        if (options.connectTo) {
            connectTo = curl_slist_append(nullptr, connectToEntry(*options.connectTo).c_str());
        }
        requestHeaders = curl_slist_append(
            nullptr, (std::string("Accept-Encoding: ") + acceptedContentCodings).c_str());
        multi = curl_multi_init();
        if (multi == nullptr || requestHeaders == nullptr) {
            if (multi != nullptr) curl_multi_cleanup(multi);
            curl_slist_free_all(requestHeaders);
            curl_slist_free_all(connectTo);
            throw std::runtime_error("libcurl could not create a multi handle");
        }
    }

    ~Worker() {
        curl_multi_cleanup(multi);
        curl_slist_free_all(requestHeaders);
        curl_slist_free_all(connectTo);
    }

    /// The thread shares ownership, so the worker outlives a client that a
    /// completion destroys from the worker thread itself.
    static void start(const std::shared_ptr<Worker>& worker) {
        worker->thread = std::thread([self = worker] { self->run(); });
    }

    void stop() {
        {
            std::lock_guard lock(mutex);
            stopping = true;
        }
        curl_multi_wakeup(multi);
        if (thread.get_id() == std::this_thread::get_id()) {
            // Destroyed by one of its own completions: the rest of the
            // shutdown happens once that completion returns.
            thread.detach();
        } else {
            thread.join();
        }
    }

    std::uint64_t submit(std::unique_ptr<Transfer> transfer) {
        std::uint64_t id = 0;
        {
            std::lock_guard lock(mutex);
            id = transfer->id = ++lastId;
            pending.push_back(std::move(transfer));
        }
        curl_multi_wakeup(multi);
        return id;
    }

    void abandon(std::uint64_t id) {
        {
            std::lock_guard lock(mutex);
            if (stopping) return;  // everything ends anyway
            abandoned.push_back(id);
        }
        curl_multi_wakeup(multi);
    }

    void run() {
        for (;;) {
            std::vector<std::unique_ptr<Transfer>> incoming;
            std::vector<std::uint64_t> dropped;
            bool stop = false;
            {
                std::lock_guard lock(mutex);
                incoming.swap(pending);
                dropped.swap(abandoned);
                stop = stopping;
            }
            for (auto& transfer : incoming) begin(std::move(transfer));
            // After the new ones: a transfer abandoned right after it was
            // submitted has begun by now.
            for (const std::uint64_t id : dropped) endAbandoned(id);
            if (stop) {
                shutDown();
                return;
            }
            int running = 0;
            curl_multi_perform(multi, &running);
            collectFinished();
            endStalled();
            curl_multi_poll(multi, nullptr, 0, pollTimeoutMs(), nullptr);
        }
    }

    void begin(std::unique_ptr<Transfer> transfer) {
        CURL* easy = curl_easy_init();
        if (easy == nullptr) {
            deliver(transfer->completion, failed(HttpFailure::transport));
            return;
        }
        transfer->easy = easy;
        transfer->cap = options.maxBodyBytes;
        if (options.timeoutOverride) transfer->request.timeout = *options.timeoutOverride;
        transfer->lastProgress = Clock::now();
        const auto timeoutMs = static_cast<long>(
            std::max<std::chrono::milliseconds::rep>(1, transfer->request.timeout.count()));

        curl_easy_setopt(easy, CURLOPT_URL, transfer->request.url.c_str());
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
        curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "https");
        curl_easy_setopt(easy, CURLOPT_MAXREDIRS, static_cast<long>(maxRedirects));
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
        curl_easy_setopt(easy, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
        if (options.caFile) curl_easy_setopt(easy, CURLOPT_CAINFO, options.caFile->c_str());
        if (connectTo != nullptr) curl_easy_setopt(easy, CURLOPT_CONNECT_TO, connectTo);
        curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, timeoutMs);
        curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS,
                         static_cast<long>(std::max<std::chrono::milliseconds::rep>(
                             1, options.overallLimit.count())));
        curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE,
                         static_cast<curl_off_t>(options.maxBodyBytes));
        // Decoded here, not by curl, which hands over a gzip stream cut short
        // of its trailer as if it were whole; the body cap applies to the
        // bytes as sent and again to what they become.
        curl_easy_setopt(easy, CURLOPT_HTTP_CONTENT_DECODING, 0L);
        curl_easy_setopt(easy, CURLOPT_HTTPHEADER, requestHeaders);
        curl_easy_setopt(easy, CURLOPT_USERAGENT, options.userAgent.c_str());
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, onBody);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, transfer.get());
        curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, onHeader);
        curl_easy_setopt(easy, CURLOPT_HEADERDATA, transfer.get());
        curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, onProgress);
        curl_easy_setopt(easy, CURLOPT_XFERINFODATA, transfer.get());

        if (curl_multi_add_handle(multi, easy) != CURLM_OK) {
            curl_easy_cleanup(easy);
            deliver(transfer->completion, failed(HttpFailure::transport));
            return;
        }
        active.emplace(easy, std::move(transfer));
    }

    void endAbandoned(std::uint64_t id) {
        for (const auto& [easy, transfer] : active) {
            if (transfer->id == id) return finish(easy, CURLE_ABORTED_BY_CALLBACK);
        }
    }

    void collectFinished() {
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
            if (message->msg == CURLMSG_DONE) finish(message->easy_handle, message->data.result);
        }
    }

    /// curl's own low-speed check counts whole seconds; the request timeout
    /// is kept here to the millisecond.
    void endStalled() {
        const auto now = Clock::now();
        std::vector<CURL*> stalled;
        for (const auto& [easy, transfer] : active) {
            if (now - transfer->lastProgress >= transfer->request.timeout) stalled.push_back(easy);
        }
        for (CURL* easy : stalled) finish(easy, CURLE_OPERATION_TIMEDOUT);
    }

    int pollTimeoutMs() const {
        if (active.empty()) return 1000;  // a new request wakes the poll
        auto next = Clock::time_point::max();
        for (const auto& entry : active) {
            next = std::min(next, entry.second->lastProgress + entry.second->request.timeout);
        }
        const auto wait =
            std::chrono::duration_cast<std::chrono::milliseconds>(next - Clock::now()).count();
        return static_cast<int>(std::clamp<decltype(wait)>(wait + 1, 1, 250));
    }

    void finish(CURL* easy, CURLcode result) {
        auto found = active.find(easy);
        if (found == active.end()) return;
        std::unique_ptr<Transfer> transfer = std::move(found->second);
        active.erase(found);
        long status = 0;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
        long osError = 0;
        curl_easy_getinfo(easy, CURLINFO_OS_ERRNO, &osError);
        curl_multi_remove_handle(multi, easy);
        curl_easy_cleanup(easy);

        // curl knows the status from the first line; like the Qt client, a
        // failed transfer reports it only once the whole header block came,
        // or when curl refused the body by the size that block announced.
        const bool answered =
            result == CURLE_OK || result == CURLE_FILESIZE_EXCEEDED || transfer->headersComplete;
        const int code = answered ? static_cast<int>(status) : 0;
        if (transfer->overCap)
            return deliver(transfer->completion, failed(HttpFailure::bodyTooLarge, code));
        if (result != CURLE_OK) {
            return deliver(transfer->completion, failed(failureOf(result, osError), code));
        }
        auto decoded = decodeContent(std::move(transfer->body), transfer->contentEncoding,
                                     options.maxBodyBytes);
        if (const auto* failure = std::get_if<HttpFailure>(&decoded)) {
            return deliver(transfer->completion, failed(*failure, code));
        }
        deliver(transfer->completion,
                {std::move(std::get<std::string>(decoded)), HttpFailure::none, code});
    }

    /// Every request still open, and every one a completion submits while
    /// this runs, ends with no body.
    void shutDown() {
        while (!active.empty()) finish(active.begin()->first, CURLE_ABORTED_BY_CALLBACK);
        for (;;) {
            std::vector<std::unique_ptr<Transfer>> late;
            {
                std::lock_guard lock(mutex);
                late.swap(pending);
            }
            if (late.empty()) return;
            for (auto& transfer : late) {
                deliver(transfer->completion, failed(HttpFailure::transport));
            }
        }
    }

    CurlHttpClientOptions options;
    curl_slist* connectTo = nullptr;
    curl_slist* requestHeaders = nullptr;  // the same for every transfer
    CURLM* multi = nullptr;
    std::unordered_map<CURL*, std::unique_ptr<Transfer>> active;  // worker thread only

    std::mutex mutex;  // guards what follows, the hand-over from callers
    std::vector<std::unique_ptr<Transfer>> pending;
    std::vector<std::uint64_t> abandoned;
    std::uint64_t lastId = 0;
    bool stopping = false;

    std::thread thread;
};

CurlHttpClient::CurlHttpClient(CurlHttpClientOptions options)
    : worker_(std::make_shared<Worker>(std::move(options))) {
    Worker::start(worker_);
}

CurlHttpClient::~CurlHttpClient() {
    worker_->stop();
}

void CurlHttpClient::get(HttpRequest request, std::function<void(HttpBody)> completion) {
    std::function<void(HttpResponse)> keepBody;
    if (completion) {
        keepBody = [completion = std::move(completion)](HttpResponse response) {
            completion(std::move(response.body));
        };
    }
    fetch(std::move(request), std::move(keepBody));
}

void CurlHttpClient::fetch(HttpRequest request, std::function<void(HttpResponse)> completion) {
    auto transfer = std::make_unique<Transfer>();
    transfer->request = std::move(request);
    transfer->completion = std::move(completion);
    worker_->submit(std::move(transfer));
}

Abandon CurlAccess::fetchAbandonable(CurlHttpClient& client, HttpRequest request,
                                     std::function<void(HttpResponse)> completion) {
    auto transfer = std::make_unique<Transfer>();
    transfer->request = std::move(request);
    transfer->completion = std::move(completion);
    const std::uint64_t id = client.worker_->submit(std::move(transfer));
    return [worker = std::weak_ptr<CurlHttpClient::Worker>(client.worker_), id] {
        if (auto alive = worker.lock()) alive->abandon(id);
    };
}

const CurlHttpClientOptions& CurlHttpClient::options() const noexcept {
    return worker_->options;
}

}  // namespace velawidget::curl
