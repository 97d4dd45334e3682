#include "platform/qt/QtHttpClient.h"

#include <QFile>
#include <QMetaObject>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <mutex>
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
    bool overCap = false;
    QNetworkReply* reply = nullptr;
    QTimer* overall = nullptr;
};

}  // namespace

struct QtHttpClient::Worker {
    QtHttpClientOptions options;
    QThread thread;
    // Created, used and deleted on `thread` only.
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
        request.setTransferTimeout(static_cast<int>(options.timeoutOverride.value_or(fetch->timeout).count()));
        if (fetch->cachePolicy == CachePolicy::useCacheFirst) {
            request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                                 QNetworkRequest::PreferCache);
        } else {
            // The bank lists keep their own cache files; nothing to gain from a copy here.
            request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                                 QNetworkRequest::AlwaysNetwork);
            request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
        }
        request.setHeader(QNetworkRequest::UserAgentHeader, QString::fromStdString(options.userAgent));
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
            fetch->overCap = true;
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

    void stop() {
        // Every open request ends with none, on this thread, before the thread goes.
        while (!open.empty()) finish(*open.begin(), std::nullopt);
        delete context;
        context = nullptr;
        network = nullptr;
    }
};

QtHttpClient::QtHttpClient(QtHttpClientOptions options) : worker_(std::make_unique<Worker>()) {
    worker_->options = std::move(options);
    worker_->thread.setObjectName(QStringLiteral("velawidget-http"));
    worker_->context = new QObject;
    worker_->context->moveToThread(&worker_->thread);
    worker_->thread.start();
    QMetaObject::invokeMethod(worker_->context, [worker = worker_.get()] { worker->startNetwork(); },
                              Qt::BlockingQueuedConnection);
}

QtHttpClient::~QtHttpClient() {
    {
        std::lock_guard lock(worker_->mutex);
        worker_->stopped = true;
    }
    if (worker_->thread.isRunning()) {
        QMetaObject::invokeMethod(worker_->context, [worker = worker_.get()] { worker->stop(); },
                                  Qt::BlockingQueuedConnection);
        worker_->thread.quit();
        worker_->thread.wait();
    }
}

void QtHttpClient::get(HttpRequest request, std::function<void(HttpBody)> completion) {
    std::lock_guard lock(worker_->mutex);
    if (worker_->stopped) return;
    QMetaObject::invokeMethod(
        worker_->context,
        [worker = worker_.get(), request = std::move(request),
         completion = std::move(completion)]() mutable {
            worker->begin(std::move(request), std::move(completion));
        },
        Qt::QueuedConnection);
}

}  // namespace velawidget::quick
