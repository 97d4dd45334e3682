#include "platform/qt/QtHttpClient.h"

#include <QEventLoop>
#include <QFile>
#include <QMetaObject>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrl>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_set>
#include <utility>

namespace velawidget::quick {
namespace {

constexpr int maxRedirects = 10;

/// HTTP statuses come back as content and server errors: their body is
/// still the answer. Everything else is a transport or TLS failure.
bool deliversBody(QNetworkReply::NetworkError error) {
    const int code = static_cast<int>(error);
    return code == 0 || (code >= 201 && code <= 299) || (code >= 401 && code <= 499);
}

struct Fetch {
    std::function<void(HttpBody)> completion;
    std::chrono::milliseconds timeout;
    CachePolicy cachePolicy;
    QUrl url;  // the address as the link names it, before any connect-to
    int redirects = 0;
    QByteArray body;
    QNetworkReply* reply = nullptr;
    QTimer* overall = nullptr;
};

}  // namespace

struct QtHttpClient::Worker {
    QtHttpClientOptions options;
    std::thread thread;
    std::thread::id threadId;
    // Created, used and deleted on `thread` only.
    QEventLoop* loop = nullptr;
    QObject* context = nullptr;
    QNetworkAccessManager* network = nullptr;
    QSslConfiguration tls;
    std::unordered_set<std::shared_ptr<Fetch>> open;
    std::mutex mutex;
    bool stopped = false;

    void startNetwork() {
        network = new QNetworkAccessManager(context);
        if (options.cacheDirectory) {
            auto* cache = new QNetworkDiskCache(network);
            cache->setCacheDirectory(QString::fromStdString(options.cacheDirectory->string()));
            network->setCache(cache);
        }
        tls = QSslConfiguration::defaultConfiguration();
        if (options.caFile) {
            tls.addCaCertificates(QString::fromStdString(options.caFile->string()));
        }
    }

    void finish(const std::shared_ptr<Fetch>& fetch, HttpBody body) {
        if (!open.erase(fetch)) return;
        if (fetch->overall) fetch->overall->deleteLater();
        if (fetch->reply) {
            fetch->reply->disconnect();
            fetch->reply->abort();
            fetch->reply->deleteLater();
        }
        auto completion = std::move(fetch->completion);
        completion(std::move(body));
    }

    void start(const std::shared_ptr<Fetch>& fetch) {
        QNetworkRequest request(addressFor(fetch->url));
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::ManualRedirectPolicy);
        request.setTransferTimeout(
            static_cast<int>(options.timeoutOverride.value_or(fetch->timeout).count()));
        if (fetch->cachePolicy == CachePolicy::useCacheFirst) {
            request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                                 QNetworkRequest::PreferCache);
        } else {
            // The bank lists keep their own cache files; nothing to gain from a copy here.
            request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                                 QNetworkRequest::AlwaysNetwork);
            request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
        }
        request.setHeader(QNetworkRequest::UserAgentHeader,
                          QString::fromStdString(options.userAgent));
        request.setSslConfiguration(tls);
        if (options.connectTo) {
            // The connection goes to the address; the server and the
            // certificate check still see the link's own host.
            QByteArray host = fetch->url.host(QUrl::FullyEncoded).toLatin1();
            if (fetch->url.port() != -1) host += ':' + QByteArray::number(fetch->url.port());
            request.setRawHeader("Host", host);
            request.setPeerVerifyName(fetch->url.host());
        }

        auto* reply = network->get(request);
        fetch->reply = reply;
        std::weak_ptr<Fetch> weak = fetch;
        QObject::connect(reply, &QNetworkReply::readyRead, reply, [this, weak] {
            if (auto fetch = weak.lock()) take(fetch);
        });
        QObject::connect(reply, &QNetworkReply::finished, reply, [this, weak] {
            if (auto fetch = weak.lock()) finished(fetch);
        });
    }

    QUrl addressFor(const QUrl& url) const {
        if (!options.connectTo) return url;
        QUrl address = url;
        address.setHost(QString::fromStdString(options.connectTo->first));
        address.setPort(options.connectTo->second);
        return address;
    }

    void take(const std::shared_ptr<Fetch>& fetch) {
        const QByteArray chunk = fetch->reply->readAll();
        if (static_cast<std::size_t>(chunk.size()) >
            options.maxBodyBytes - static_cast<std::size_t>(fetch->body.size())) {
            finish(fetch, std::nullopt);
            return;
        }
        fetch->body += chunk;
    }

    void finished(const std::shared_ptr<Fetch>& fetch) {
        QNetworkReply* reply = fetch->reply;
        take(fetch);
        if (!open.count(fetch)) return;
        if (!deliversBody(reply->error())) {
            finish(fetch, std::nullopt);
            return;
        }
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QUrl location = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
        if (status >= 300 && status < 400 && location.isValid()) {
            redirect(fetch, fetch->url.resolved(location));
            return;
        }
        finish(fetch, fetch->body.toStdString());
    }

    void redirect(const std::shared_ptr<Fetch>& fetch, const QUrl& target) {
        if (target.scheme() != QLatin1String("https") || ++fetch->redirects > maxRedirects) {
            finish(fetch, std::nullopt);
            return;
        }
        fetch->reply->disconnect();
        fetch->reply->deleteLater();
        fetch->reply = nullptr;
        fetch->body.clear();
        fetch->url = target;
        start(fetch);
    }

    void begin(HttpRequest request, std::function<void(HttpBody)> completion) {
        auto fetch = std::make_shared<Fetch>();
        fetch->completion = std::move(completion);
        fetch->timeout = request.timeout;
        fetch->cachePolicy = request.cachePolicy;
        fetch->url = QUrl(QString::fromStdString(request.url), QUrl::StrictMode);
        open.insert(fetch);
        const QString scheme = fetch->url.scheme();
        if (!fetch->url.isValid() || fetch->url.host().isEmpty() ||
            (scheme != QLatin1String("https") && scheme != QLatin1String("http"))) {
            finish(fetch, std::nullopt);
            return;
        }
        fetch->overall = new QTimer(context);
        fetch->overall->setSingleShot(true);
        std::weak_ptr<Fetch> weak = fetch;
        QObject::connect(fetch->overall, &QTimer::timeout, context, [this, weak] {
            if (auto fetch = weak.lock()) finish(fetch, std::nullopt);
        });
        fetch->overall->start(options.overallLimit);
        start(fetch);
    }

    /// On the worker thread: every open request ends with none, then the loop ends.
    void stop() {
        {
            std::lock_guard lock(mutex);
            stopped = true;
        }
        while (!open.empty()) {
            const auto fetch = *open.begin();  // a copy: finishing erases the listed one
            finish(fetch, std::nullopt);
        }
        loop->quit();
    }

    /// The thread's whole life. It holds the worker, so a client released by
    /// one of its own completions leaves the worker intact until the end.
    static void run(const std::shared_ptr<Worker>& worker, std::promise<void>& ready) {
        worker->threadId = std::this_thread::get_id();
        {
            QEventLoop loop;
            worker->loop = &loop;
            worker->context = new QObject;
            worker->startNetwork();
            ready.set_value();
            loop.exec();
            // No signal is being delivered now: the replies can go.
            delete worker->context;
            worker->context = nullptr;
            worker->network = nullptr;
            worker->loop = nullptr;
        }
    }
};

QtHttpClient::QtHttpClient(QtHttpClientOptions options) : worker_(std::make_shared<Worker>()) {
    worker_->options = std::move(options);
    std::promise<void> ready;
    auto started = ready.get_future();
    worker_->thread = std::thread([worker = worker_, &ready] { Worker::run(worker, ready); });
    started.wait();
}

QtHttpClient::~QtHttpClient() {
    if (std::this_thread::get_id() == worker_->threadId) {
        // Released by one of its own completions: end the rest now and let
        // the thread finish by itself once this completion returns.
        worker_->stop();
        worker_->thread.detach();
        return;
    }
    QMetaObject::invokeMethod(
        worker_->context, [worker = worker_.get()] { worker->stop(); }, Qt::QueuedConnection);
    worker_->thread.join();
}

void QtHttpClient::get(HttpRequest request, std::function<void(HttpBody)> completion) {
    std::unique_lock lock(worker_->mutex);
    if (worker_->stopped) {
        // Asked for from a completion while the client shuts down: still one answer.
        lock.unlock();
        completion(std::nullopt);
        return;
    }
    QMetaObject::invokeMethod(
        worker_->context,
        [worker = worker_.get(), request = std::move(request),
         completion = std::move(completion)]() mutable {
            worker->begin(std::move(request), std::move(completion));
        },
        Qt::QueuedConnection);
}

}  // namespace velawidget::quick
