#include "platform/qt/QtHttpClient.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QLocale>
#include <QMetaObject>
#include <QNetworkAccessManager>
#include <QNetworkCacheMetaData>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QTimeZone>
#include <QTimer>
#include <QUrl>
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
#include "platform/portable/PrivateDirectories.h"

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

/// The body as sent, decoded; see `decodeContent`.
std::variant<std::string, HttpFailure> decoded(const QByteArray& raw, const QByteArray& coding,
                                               std::size_t cap) {
    // The client asks for gzip; a gzip stream without its label means the
    // transport lost the header block (Qt drops every header of a block with
    // too many lines), and its bytes are not the resource.
    const QByteArray label = coding.trimmed().toLower();
    if ((label.isEmpty() || label == "identity") && raw.startsWith("\x1f\x8b")) {
        return HttpFailure::transport;
    }
    return decodeContent(
        raw.toStdString(),
        std::string_view(label.constData(), static_cast<std::size_t>(label.size())), cap);
}

bool forbidsStoring(const QNetworkReply& reply) {
    return reply.rawHeader("Cache-Control").toLower().contains("no-store");
}

/// An HTTP date ("Sun, 06 Nov 1994 08:49:37 GMT"), or an invalid one.
QDateTime httpDate(const QByteArray& value) {
    const QByteArray text = value.trimmed();
    if (!text.endsWith(" GMT")) return {};
    QDateTime date = QLocale::c().toDateTime(QString::fromLatin1(text.chopped(4)),
                                             QStringLiteral("ddd, dd MMM yyyy hh:mm:ss"));
    date.setTimeZone(QTimeZone::utc());
    return date;
}

/// The entry Qt's own HTTP cache would write for a 200 answer: the headers
/// that describe the stored body, when it was made, how long it keeps, the
/// status. Qt 6.8 answers from no entry that lacks them. The body is stored
/// decoded, so the transfer's coding and length are left out and its own
/// length given.
QNetworkCacheMetaData cacheEntry(const QUrl& url, const QNetworkReply& reply, qsizetype size) {
    QNetworkCacheMetaData meta;
    meta.setUrl(url);
    meta.setSaveToDisk(true);
    QNetworkCacheMetaData::RawHeaderList headers;
    for (const QByteArray name :
         {"Content-Type", "Date", "Last-Modified", "ETag", "Cache-Control", "Expires"}) {
        if (reply.hasRawHeader(name)) headers.append({name, reply.rawHeader(name)});
    }
    headers.append({"Content-Length", QByteArray::number(size)});
    meta.setRawHeaders(headers);

    const QDateTime now = QDateTime::currentDateTimeUtc();
    QDateTime made = httpDate(reply.rawHeader("Last-Modified"));
    if (!made.isValid()) made = httpDate(reply.rawHeader("Date"));
    meta.setLastModified(made.isValid() ? made : now);
    QDateTime expires;
    for (const QByteArray& directive : reply.rawHeader("Cache-Control").split(',')) {
        const QByteArray item = directive.trimmed().toLower();
        if (!item.startsWith("max-age=")) continue;
        bool ok = false;
        const qint64 seconds = item.mid(8).toLongLong(&ok);
        if (ok) expires = now.addSecs(seconds);
    }
    if (!expires.isValid()) expires = httpDate(reply.rawHeader("Expires"));
    if (expires.isValid()) meta.setExpirationDate(expires);

    QNetworkCacheMetaData::AttributesMap attributes;
    attributes.insert(QNetworkRequest::HttpStatusCodeAttribute, 200);
    attributes.insert(QNetworkRequest::HttpReasonPhraseAttribute,
                      reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute));
    meta.setAttributes(attributes);
    return meta;
}

struct Fetch {
    std::function<void(HttpResponse)> completion;
    std::chrono::milliseconds timeout;
    CachePolicy cachePolicy;
    QUrl named;  // the address asked for: the cache's key
    QUrl url;    // the address as the link names it, before any connect-to
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
    QNetworkAccessManager* cached = nullptr;
    QNetworkDiskCache* cache = nullptr;
    std::optional<QSslConfiguration> tls;
    std::unordered_set<std::shared_ptr<Fetch>> open;
    std::mutex mutex;  // guards `stopped` and `late`, the hand-over from callers
    bool stopped = false;
    // Asked for while the client shuts down; answered once the loop is over,
    // so no completion runs inside the call that asked.
    std::vector<std::function<void(HttpResponse)>> late;
    // The thread has answered its last request and gone (guarded by `mutex`).
    bool ended = false;

    /// Each policy has a manager, and so a connection pool, of its own: six
    /// slow logos on the bank list's host never hold the connection it needs.
    QNetworkAccessManager* managerFor(CachePolicy policy) {
        auto*& manager = policy == CachePolicy::useCacheFirst ? cached : lists;
        if (!manager) manager = new QNetworkAccessManager(context);
        return manager;
    }

    QNetworkDiskCache* diskCache() {
        if (!cache && options.cacheDirectory) {
            // Qt makes the cache's folders with the umask's bits; made first,
            // the top one keeps the logos the shopper saw to their owner.
            (void)createPrivateDirectories(*options.cacheDirectory);
            cache = new QNetworkDiskCache(context);
            cache->setCacheDirectory(QString::fromStdString(options.cacheDirectory->string()));
        }
        return cache;
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

    /// What the disk cache holds for the address, whatever its age: logos
    /// show offline too.
    HttpBody fromCache(const QUrl& url) {
        auto* disk = diskCache();
        if (!disk || !disk->metaData(url).isValid()) return std::nullopt;
        const std::unique_ptr<QIODevice> data(disk->data(url));
        if (!data) return std::nullopt;
        const QByteArray bytes = data->read(static_cast<qint64>(options.maxBodyBytes) + 1);
        if (static_cast<std::size_t>(bytes.size()) > options.maxBodyBytes) return std::nullopt;
        return bytes.toStdString();
    }

    void store(const QUrl& url, const QNetworkReply& reply, const QByteArray& body) {
        auto* disk = diskCache();
        if (!disk) return;
        if (QIODevice* device = disk->prepare(cacheEntry(url, reply, body.size()))) {
            if (device->write(body) == body.size()) {
                disk->insert(device);
            } else {
                disk->remove(url);
            }
        }
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
        // The cache is kept by hand (see fromCache and store): Qt's own
        // leaves out compressed answers and old ones.
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
        auto& body = std::get<std::string>(decodedBody);
        if (fetch->cachePolicy == CachePolicy::useCacheFirst && status.toInt() == 200 &&
            !forbidsStoring(*reply)) {
            store(fetch->named, *reply, QByteArray::fromStdString(body));
        }
        finish(fetch, {std::move(body), HttpFailure::none, status.toInt()});
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

    void begin(const HttpRequest& request, std::function<void(HttpResponse)> completion) {
        auto fetch = std::make_shared<Fetch>();
        fetch->completion = std::move(completion);
        fetch->timeout = request.timeout;
        fetch->cachePolicy = request.cachePolicy;
        fetch->url = QUrl(QString::fromStdString(request.url), QUrl::StrictMode);
        fetch->named = fetch->url;
        open.insert(fetch);
        const QString scheme = fetch->url.scheme();
        if (!fetch->url.isValid() || fetch->url.host().isEmpty() ||
            (scheme != QLatin1String("https") && scheme != QLatin1String("http"))) {
            finish(fetch, failed(HttpFailure::transport));
            return;
        }
        if (fetch->cachePolicy == CachePolicy::useCacheFirst) {
            if (auto body = fromCache(fetch->named)) {
                finish(fetch, {std::move(body), HttpFailure::none, 200});
                return;
            }
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
    }

    /// The status goes with it once a whole header block has come, as in the
    /// curl client.
    void timedOut(const std::shared_ptr<Fetch>& fetch) {
        finish(fetch, failed(HttpFailure::timeout, fetch->reply ? statusOf(*fetch->reply) : 0));
    }

    /// On the worker thread: every open request ends with none, then the loop ends.
    void stop() {
        {
            std::lock_guard lock(mutex);
            stopped = true;
        }
        while (!open.empty()) {
            const auto fetch = *open.begin();  // a copy: finishing erases the listed one
            finish(fetch, failed(HttpFailure::transport));
        }
        loop->quit();
    }

    /// From any thread but the worker's: every open request ends with none,
    /// then the thread is joined. Once; later calls do nothing.
    void shutDown() {
        if (!thread.joinable()) return;
        QMetaObject::invokeMethod(
            context, [this] { stop(); }, Qt::QueuedConnection);
        thread.join();
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
            // No signal is being delivered now: the replies can go.
            delete worker->context;
            worker->context = nullptr;
            worker->lists = nullptr;
            worker->cached = nullptr;
            worker->cache = nullptr;
            worker->loop = nullptr;
        }
        // An answer may ask again: answer until nothing is left.
        for (;;) {
            std::vector<std::function<void(HttpResponse)>> batch;
            {
                std::lock_guard lock(worker->mutex);
                batch.swap(worker->late);
                if (batch.empty()) {
                    worker->ended = true;
                    return;
                }
            }
            for (auto& completion : batch) {
                if (completion) completion(failed(HttpFailure::transport));
            }
        }
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
            if (auto alive = worker.lock()) alive->shutDown();
        };
        qAddPostRoutine(endRunningClients);
    }
}

QtHttpClient::~QtHttpClient() {
    {
        const std::lock_guard lock(runningLock());
        running().erase(worker_.get());
    }
    if (std::this_thread::get_id() == worker_->threadId && worker_->thread.joinable()) {
        // Released by one of its own completions: end the rest now and let
        // the thread finish by itself once this completion returns.
        worker_->stop();
        worker_->thread.detach();
        return;
    }
    worker_->shutDown();
}

void QtHttpClient::fetch(HttpRequest request, std::function<void(HttpResponse)> completion) {
    std::unique_lock lock(worker_->mutex);
    if (worker_->ended) {
        // The application, and the thread with it, are gone: there is no
        // other thread left to answer on.
        lock.unlock();
        if (completion) completion(failed(HttpFailure::transport));
        return;
    }
    if (worker_->stopped) {
        // Asked for from a completion while the client shuts down: still one
        // answer, on the client's thread once the loop is over.
        worker_->late.push_back(std::move(completion));
        return;
    }
    QMetaObject::invokeMethod(
        worker_->context,
        [worker = worker_.get(), request = std::move(request),
         completion = std::move(completion)]() mutable {
            worker->begin(request, std::move(completion));
        },
        Qt::QueuedConnection);
}

}  // namespace velawidget::quick
