#include "platform/qt/QtHttpClient.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrl>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_set>
#include <utility>
#include <variant>

#include "core/ConnectTo.h"
#include "platform/ContentDecoding.h"
#include "platform/RedirectLimit.h"

namespace velawidget::quick {
namespace {

/// The errors Qt raises for an HTTP error status itself; with that status
/// the body is still the answer. Decompression is done here, not by Qt, so
/// none of them can stand for a body that failed to decode.
bool isStatusError(QNetworkReply::NetworkError error) {
    switch (error) {
        case QNetworkReply::ContentAccessDenied:
        case QNetworkReply::ContentOperationNotPermittedError:
        case QNetworkReply::ContentNotFoundError:
        case QNetworkReply::AuthenticationRequiredError:
        case QNetworkReply::ContentConflictError:
        case QNetworkReply::ContentGoneError:
        case QNetworkReply::UnknownContentError:
        case QNetworkReply::ProtocolInvalidOperationError:
        case QNetworkReply::ProxyAuthenticationRequiredError:
        case QNetworkReply::InternalServerError:
        case QNetworkReply::OperationNotImplementedError:
        case QNetworkReply::ServiceUnavailableError:
        case QNetworkReply::UnknownServerError:
            return true;
        default:
            return false;
    }
}

/// Why a reply that Qt ended with `error` gave no body.
HttpFailure failureOf(QNetworkReply::NetworkError error) {
    switch (error) {
        case QNetworkReply::HostNotFoundError:
            return HttpFailure::dnsLookup;
        case QNetworkReply::ConnectionRefusedError:
            return HttpFailure::connect;
        case QNetworkReply::TimeoutError:
            return HttpFailure::timeout;
        case QNetworkReply::SslHandshakeFailedError:
            return HttpFailure::tls;
        // What Qt reports when the socket has no route at all.
        case QNetworkReply::NetworkSessionFailedError:
        case QNetworkReply::TemporaryNetworkFailureError:
        case QNetworkReply::UnknownNetworkError:
            return HttpFailure::offline;
        default:
            return HttpFailure::transport;
    }
}

HttpResponse failed(HttpFailure failure, int status = 0) {
    return {std::nullopt, failure, status};
}

/// Whether `raw` starts as a gzip stream or a zlib-wrapped deflate stream
/// does (the header bytes zlib writes at its four levels).
bool looksCompressed(const QByteArray& raw) {
    if (raw.startsWith("\x1f\x8b")) return true;
    if (raw.size() < 2 || raw[0] != '\x78') return false;
    const char second = raw[1];
    return second == '\x01' || second == '\x5e' || second == '\x9c' || second == '\xda';
}

/// The body as sent, decoded; see `decodeContent`.
std::variant<std::string, HttpFailure> decoded(const QByteArray& raw, const QByteArray& coding,
                                               std::size_t cap) {
    // The client asks for gzip and deflate; such a stream without its label
    // means the transport lost the header block (Qt drops every header of a
    // block with too many lines), and its bytes are not the resource.
    const QByteArray label = coding.trimmed().toLower();
    if ((label.isEmpty() || label == "identity") && looksCompressed(raw)) {
        return HttpFailure::transport;
    }
    return decodeContent(
        raw.toStdString(),
        std::string_view(label.constData(), static_cast<std::size_t>(label.size())), cap);
}

struct Fetch {
    std::function<void(HttpResponse)> completion;
    std::chrono::milliseconds timeout;
    CachePolicy cachePolicy;
    QUrl url;  // the address as the link names it, before any connect-to
    int redirects = 0;
    QByteArray body;
    QNetworkReply* reply = nullptr;
    QTimer* overall = nullptr;
    QTimer* stall = nullptr;
};

/// The status of the reply so far, 0 before its header block.
int statusOf(const QNetworkReply& reply) {
    return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

std::pair<std::string, std::uint16_t> connectToAddress(const std::string& target) {
    auto parsed = parseConnectTo(target);
    if (const auto* reason = std::get_if<std::string>(&parsed)) {
        throw std::invalid_argument(*reason);
    }
    auto& [address, port] = std::get<ConnectTo>(parsed);
    // "[::1]:8443" names an IPv6 address; QUrl wants it bare.
    if (address.size() > 2 && address.front() == '[' && address.back() == ']') {
        address = address.substr(1, address.size() - 2);
    }
    return {address, port};
}

// The shut-down calls of the clients made while an application object
// exists, run by its post routine: the one process-wide list this client
// keeps, because a post routine takes no context.
std::mutex& runningLock() {
    static std::mutex lock;
    return lock;
}

std::map<const void*, std::function<void()>>& running() {
    static std::map<const void*, std::function<void()>> clients;
    return clients;
}

void endRunningClients() {
    std::map<const void*, std::function<void()>> ending;
    {
        const std::lock_guard lock(runningLock());
        ending.swap(running());
    }
    for (auto& [worker, end] : ending) end();
}

}  // namespace

struct QtHttpClient::Worker {
    QtHttpClientOptions options;
    /// `options.connectTo`, read once.
    std::optional<std::pair<std::string, std::uint16_t>> connectTo;
    std::thread thread;
    std::thread::id threadId;
    // Created, used and deleted on `thread` only; made at first use.
    QEventLoop* loop = nullptr;
    QObject* context = nullptr;
    QNetworkAccessManager* lists = nullptr;
    QNetworkAccessManager* logos = nullptr;
    std::optional<QSslConfiguration> tls;
    std::unordered_set<std::shared_ptr<Fetch>> open;

    // The hand-over between callers and the thread, guarded by `mutex`. The
    // thread lives in two stages: the Qt loop, then (once the loop is over
    // and its Qt objects are gone, `qtDone`) a plain wait that answers the
    // requests made since with none, until the client goes (`closing`).
    // So no request is ever answered inside the call that made it.
    std::mutex mutex;
    std::condition_variable changed;
    bool stopAsked = false;  // a stop is on its way to the loop, or ran
    bool stopped = false;    // the loop takes no more requests
    bool qtDone = false;
    bool closing = false;
    std::vector<std::function<void(HttpResponse)>> late;

    /// A request on its way to the loop. Should the loop end before the
    /// event carrying it is delivered, the event is destroyed unrun, and so
    /// is this: the request is then answered with the late ones.
    struct Handover {
        Worker* worker;
        HttpRequest request;
        std::function<void(HttpResponse)> completion;
        Handover(Worker* to, HttpRequest what, std::function<void(HttpResponse)> then)
            : worker(to), request(std::move(what)), completion(std::move(then)) {}
        Handover(const Handover&) = delete;
        Handover& operator=(const Handover&) = delete;
        ~Handover() {
            if (completion) worker->answerLate(std::move(completion));
        }
    };

    void answerLate(std::function<void(HttpResponse)> completion) {
        const std::lock_guard lock(mutex);
        late.push_back(std::move(completion));
        changed.notify_all();
    }

    /// Each policy has a manager, and so a connection pool, of its own: six
    /// slow logos on the bank list's host never hold the connection it needs.
    QNetworkAccessManager* managerFor(CachePolicy policy) {
        auto*& manager = policy == CachePolicy::useCacheFirst ? logos : lists;
        if (!manager) manager = new QNetworkAccessManager(context);
        return manager;
    }

    const QSslConfiguration& tlsConfiguration() {
        if (!tls) {
            tls = QSslConfiguration::defaultConfiguration();
            if (options.caFile) {
                tls->addCaCertificates(QString::fromStdString(options.caFile->string()));
            }
        }
        return *tls;
    }

    void finish(const std::shared_ptr<Fetch>& fetch, HttpResponse response) {
        if (!open.erase(fetch)) return;
        if (fetch->overall) fetch->overall->deleteLater();
        if (fetch->stall) fetch->stall->deleteLater();
        if (fetch->reply) {
            fetch->reply->disconnect();
            fetch->reply->abort();
            fetch->reply->deleteLater();
        }
        auto completion = std::move(fetch->completion);
        if (completion) completion(std::move(response));
    }

    void start(const std::shared_ptr<Fetch>& fetch) {
        QNetworkRequest request(addressFor(fetch->url));
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::ManualRedirectPolicy);
        // Transport only: the kit's response cache sits above the client.
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                             QNetworkRequest::AlwaysNetwork);
        request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
        // Asked for here, so Qt hands over the bytes as sent and `decoded`
        // applies the body cap to what they become.
        request.setRawHeader("Accept-Encoding", acceptedContentCodings);
        request.setHeader(QNetworkRequest::UserAgentHeader,
                          QString::fromStdString(options.userAgent));
        request.setSslConfiguration(tlsConfiguration());
        if (connectTo) {
            // The connection goes to the address; the server and the
            // certificate check still see the link's own host.
            QByteArray host = fetch->url.host(QUrl::FullyEncoded).toLatin1();
            if (fetch->url.port() != -1) host += ':' + QByteArray::number(fetch->url.port());
            request.setRawHeader("Host", host);
            request.setPeerVerifyName(fetch->url.host());
        }

        auto* reply = managerFor(fetch->cachePolicy)->get(request);
        fetch->reply = reply;
        fetch->stall->start(options.timeoutOverride.value_or(fetch->timeout));
        std::weak_ptr<Fetch> weak = fetch;
        QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [this, weak] {
            if (auto fetch = weak.lock()) checkHeaders(fetch);
        });
        QObject::connect(reply, &QNetworkReply::readyRead, reply, [this, weak] {
            if (auto fetch = weak.lock()) take(fetch);
        });
        QObject::connect(reply, &QNetworkReply::finished, reply, [this, weak] {
            if (auto fetch = weak.lock()) finished(fetch);
        });
    }

    QUrl addressFor(const QUrl& url) const {
        if (!connectTo) return url;
        QUrl address = url;
        address.setHost(QString::fromStdString(connectTo->first));
        address.setPort(connectTo->second);
        return address;
    }

    void checkHeaders(const std::shared_ptr<Fetch>& fetch) {
        std::size_t bytes = 0;
        for (const auto& [name, value] : fetch->reply->rawHeaderPairs()) {
            bytes += static_cast<std::size_t>(name.size() + value.size()) + 4;
        }
        if (bytes > maxHeaderBytes) finish(fetch, failed(HttpFailure::transport));
    }

    void take(const std::shared_ptr<Fetch>& fetch) {
        const QByteArray chunk = fetch->reply->readAll();
        if (static_cast<std::size_t>(chunk.size()) >
            options.maxBodyBytes - static_cast<std::size_t>(fetch->body.size())) {
            finish(fetch, failed(HttpFailure::bodyTooLarge, statusOf(*fetch->reply)));
            return;
        }
        // Only body bytes keep a request alive; a header block trickled in
        // must be complete within the timeout.
        if (!chunk.isEmpty()) fetch->stall->start();
        fetch->body += chunk;
    }

    void finished(const std::shared_ptr<Fetch>& fetch) {
        QNetworkReply* reply = fetch->reply;
        take(fetch);
        if (!open.count(fetch)) return;
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        const QNetworkReply::NetworkError error = reply->error();
        if (!status.isValid() ||
            (error != QNetworkReply::NoError && !(status.toInt() >= 400 && isStatusError(error)))) {
            finish(fetch, failed(status.isValid() ? HttpFailure::transport : failureOf(error),
                                 status.toInt()));
            return;
        }
        const QUrl location = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
        if (status.toInt() >= 300 && status.toInt() < 400 && location.isValid()) {
            redirect(fetch, fetch->url.resolved(location));
            return;
        }
        if (reply->rawHeaderList().isEmpty()) {
            // Every server sends some header: none at all is a block the
            // transport dropped, and what follows cannot be read. No whole
            // block was taken, so no status either (curl ends such a block
            // at its cap, before its end).
            finish(fetch, failed(HttpFailure::transport));
            return;
        }
        auto decodedBody =
            decoded(fetch->body, reply->rawHeader("Content-Encoding"), options.maxBodyBytes);
        if (const auto* failure = std::get_if<HttpFailure>(&decodedBody)) {
            finish(fetch, failed(*failure, status.toInt()));
            return;
        }
        finish(fetch,
               {std::move(std::get<std::string>(decodedBody)), HttpFailure::none, status.toInt()});
    }

    void redirect(const std::shared_ptr<Fetch>& fetch, const QUrl& target) {
        if (target.scheme() != QLatin1String("https") || ++fetch->redirects > maxRedirects) {
            finish(fetch, failed(HttpFailure::transport, statusOf(*fetch->reply)));
            return;
        }
        fetch->reply->disconnect();
        fetch->reply->deleteLater();
        fetch->reply = nullptr;
        fetch->body.clear();
        fetch->url = target;
        start(fetch);
    }

    std::weak_ptr<Fetch> begin(const HttpRequest& request,
                               std::function<void(HttpResponse)> completion) {
        bool ending = false;
        {
            const std::lock_guard lock(mutex);
            ending = stopped;
        }
        // Qt still delivers the events posted before a stop, after it.
        if (ending) {
            answerLate(std::move(completion));
            return {};
        }
        auto fetch = std::make_shared<Fetch>();
        fetch->completion = std::move(completion);
        fetch->timeout = request.timeout;
        fetch->cachePolicy = request.cachePolicy;
        fetch->url = QUrl(QString::fromStdString(request.url), QUrl::StrictMode);
        open.insert(fetch);
        const QString scheme = fetch->url.scheme();
        if (!fetch->url.isValid() || fetch->url.host().isEmpty() ||
            (scheme != QLatin1String("https") && scheme != QLatin1String("http"))) {
            finish(fetch, failed(HttpFailure::transport));
            return {};
        }
        std::weak_ptr<Fetch> weak = fetch;
        fetch->overall = new QTimer(context);
        fetch->overall->setSingleShot(true);
        QObject::connect(fetch->overall, &QTimer::timeout, context, [this, weak] {
            if (auto fetch = weak.lock()) timedOut(fetch);
        });
        fetch->overall->start(options.overallLimit);
        fetch->stall = new QTimer(context);
        fetch->stall->setSingleShot(true);
        QObject::connect(fetch->stall, &QTimer::timeout, context, [this, weak] {
            if (auto fetch = weak.lock()) timedOut(fetch);
        });
        start(fetch);
        return weak;
    }

    /// The status goes with it once a whole header block has come, as in the
    /// curl client.
    void timedOut(const std::shared_ptr<Fetch>& fetch) {
        finish(fetch, failed(HttpFailure::timeout, fetch->reply ? statusOf(*fetch->reply) : 0));
    }

    /// On the worker thread: every open request ends with none, then the loop ends.
    void stop() {
        {
            const std::lock_guard lock(mutex);
            stopAsked = true;
            stopped = true;
        }
        while (!open.empty()) {
            const auto fetch = *open.begin();  // a copy: finishing erases the listed one
            finish(fetch, failed(HttpFailure::transport));
        }
        loop->quit();
    }

    /// From any thread but the worker's: every open request ends with none
    /// and the loop's Qt objects go; returns once they have. Later calls
    /// only wait.
    void endQtWork() {
        std::unique_lock lock(mutex);
        if (!stopAsked) {
            // No stop asked yet, so the loop, and `context`, are still there.
            stopAsked = true;
            QMetaObject::invokeMethod(
                context, [this] { stop(); }, Qt::QueuedConnection);
        }
        changed.wait(lock, [this] { return qtDone; });
    }

    /// The second stage: answers late requests until the client goes.
    void answerUntilClosed() {
        std::unique_lock lock(mutex);
        qtDone = true;
        changed.notify_all();
        for (;;) {
            changed.wait(lock, [this] { return closing || !late.empty(); });
            if (late.empty()) return;
            auto batch = std::exchange(late, {});
            lock.unlock();
            // An answer may ask again: that lands in `late` for the next round.
            for (auto& completion : batch) {
                if (completion) completion(failed(HttpFailure::transport));
            }
            lock.lock();
        }
    }

    /// The thread's whole life. It holds the worker, so a client released by
    /// one of its own completions leaves the worker intact until the end.
    static void run(const std::shared_ptr<Worker>& worker, std::promise<void>& ready) {
        worker->threadId = std::this_thread::get_id();
        {
            QEventLoop loop;
            worker->loop = &loop;
            worker->context = new QObject;
            ready.set_value();
            loop.exec();
            // No signal is being delivered now: the replies can go. Requests
            // still on their way go with the context's events, and their
            // hand-overs put them with the late ones.
            delete worker->context;
            worker->context = nullptr;
            worker->lists = nullptr;
            worker->logos = nullptr;
            worker->loop = nullptr;
        }
        worker->answerUntilClosed();
    }
};
QtHttpClient::QtHttpClient(QtHttpClientOptions options) : worker_(std::make_shared<Worker>()) {
    if (options.connectTo) worker_->connectTo = connectToAddress(*options.connectTo);
    worker_->options = std::move(options);
    std::promise<void> ready;
    auto started = ready.get_future();
    worker_->thread = std::thread([worker = worker_, &ready] { Worker::run(worker, ready); });
    started.wait();
    // Qt tears its own globals (the TLS back ends among them) down after the
    // application object; a request still running on the worker then uses
    // them as they go, and the process crashes on its way out (a facade's
    // client lives that long). So the work ends with the application, in its
    // post routines: later in its destructor no event reaches any thread.
    if (QCoreApplication::instance() != nullptr) {
        const std::lock_guard lock(runningLock());
        running()[worker_.get()] = [worker = std::weak_ptr<Worker>(worker_)] {
            if (auto alive = worker.lock()) alive->endQtWork();
        };
        qAddPostRoutine(endRunningClients);
    }
}

QtHttpClient::~QtHttpClient() {
    {
        const std::lock_guard lock(runningLock());
        running().erase(worker_.get());
    }
    if (std::this_thread::get_id() == worker_->threadId) {
        // Released by one of its own completions: end the rest now and let
        // the thread finish by itself once this completion returns.
        bool inLoop = false;
        {
            const std::lock_guard lock(worker_->mutex);
            inLoop = !worker_->qtDone && !worker_->stopped;
        }
        if (inLoop) worker_->stop();
        {
            const std::lock_guard lock(worker_->mutex);
            worker_->closing = true;
        }
        worker_->thread.detach();
        return;
    }
    worker_->endQtWork();
    {
        const std::lock_guard lock(worker_->mutex);
        worker_->closing = true;
        worker_->changed.notify_all();
    }
    worker_->thread.join();
}

void QtHttpClient::fetch(HttpRequest request, std::function<void(HttpResponse)> completion) {
    (void)fetchAbandonable(std::move(request), std::move(completion));
}

Abandon QtHttpClient::fetchAbandonable(HttpRequest request,
                                       std::function<void(HttpResponse)> completion) {
    const std::lock_guard lock(worker_->mutex);
    if (worker_->stopped) {
        // The loop is ending or over (the client or the application goes):
        // still one answer, on the client's thread once the loop is over.
        worker_->late.push_back(std::move(completion));
        worker_->changed.notify_all();
        return {};
    }
    // Posted under the lock: the loop cannot stop, and its context go, meanwhile.
    auto handover = std::make_shared<Worker::Handover>(worker_.get(), std::move(request),
                                                       std::move(completion));
    // The transfer once begun, for abandoning it; worker thread only.
    auto begun = std::make_shared<std::weak_ptr<Fetch>>();
    QMetaObject::invokeMethod(
        worker_->context,
        [handover, begun] {
            *begun =
                handover->worker->begin(handover->request, std::exchange(handover->completion, {}));
        },
        Qt::QueuedConnection);
    return [worker = std::weak_ptr<Worker>(worker_), begun] {
        const auto alive = worker.lock();
        if (!alive) return;
        const std::lock_guard lock(alive->mutex);
        if (alive->stopped) return;  // everything ends anyway
        // Posted behind the hand-over, so it finds the transfer begun.
        QMetaObject::invokeMethod(
            alive->context,
            [worker = alive.get(), begun] {
                if (auto fetch = begun->lock())
                    worker->finish(fetch, failed(HttpFailure::transport));
            },
            Qt::QueuedConnection);
    };
}

}  // namespace velawidget::quick
