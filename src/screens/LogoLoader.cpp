#include "screens/LogoLoader.h"

#include <QMetaObject>
#include <QQmlEngine>
#include <mutex>

#include "core/Debug.h"

namespace velawidget {

/// How completions on other threads reach the loader: cut when it goes, so
/// nothing is posted to, or started on, a loader being destroyed.
struct LogoLoader::Link {
    std::mutex mutex;
    LogoLoader* loader = nullptr;
};

LogoLoader::LogoLoader(HttpClientPtr http, const LogoLoaderSettings& settings, QObject* parent)
    : QObject(parent),
      http_(std::move(http)),
      settings_(settings),
      link_(std::make_shared<Link>()) {
    link_->loader = this;
    // One decode at a time: logos never take more than one core from the host.
    decoders_.setMaxThreadCount(1);
}

LogoLoader::~LogoLoader() {
    {
        std::lock_guard lock(link_->mutex);
        link_->loader = nullptr;
    }
    // Decodes not started yet are dropped: the pool's destructor would
    // otherwise run each of them first, holding up the host's exit. Only
    // the one under way is waited for.
    decoders_.clear();
}

LogoLoader* LogoLoader::forEngine(QQmlEngine* engine) {
    if (!engine) return nullptr;
    return engine->findChild<LogoLoader*>(QString(), Qt::FindDirectChildrenOnly);
}

LogoLoader& LogoLoader::install(QQmlEngine& engine, HttpClientPtr http) {
    if (auto* loader = forEngine(&engine)) return *loader;
    return *new LogoLoader(std::move(http), {}, &engine);
}

QImage LogoLoader::kept(const QString& url) {
    const auto found = index_.constFind(url);
    if (found == index_.constEnd()) return {};
    kept_.splice(kept_.begin(), kept_, found.value());
    return kept_.front().second;
}

void LogoLoader::load(const QString& url) {
    if (url.isEmpty() || !http_ || index_.contains(url) || pending_.contains(url)) return;
    pending_.insert(url);
    waiting_.push_back(url);
    startWaiting();
}

void LogoLoader::startWaiting() {
    while (fetching_ < settings_.maxFetches && !waiting_.empty()) {
        const QString url = waiting_.front();
        waiting_.pop_front();
        ++fetching_;
        fetch(url);
    }
}

void LogoLoader::fetch(const QString& url) {
    HttpRequest request;
    request.url = url.toStdString();
    request.timeout = settings_.timeout;
    request.cachePolicy = CachePolicy::useCacheFirst;
    const LogoLimits limits = settings_.limits;
    http_->get(std::move(request), [link = link_, url, limits](HttpBody body) {
        // On the HTTP client's queue: the decode waits for the loader's own
        // thread, never holds up the client.
        std::lock_guard lock(link->mutex);
        if (!link->loader) return;
        link->loader->decoders_.start([link, url, limits, body = std::move(body)] {
            QImage image = body ? decodeLogo(QByteArray::fromStdString(*body), limits) : QImage();
            std::lock_guard lock(link->mutex);
            if (!link->loader) return;
            QMetaObject::invokeMethod(
                link->loader,
                [loader = link->loader, url, image = std::move(image)] {
                    loader->finished(url, image);
                },
                Qt::QueuedConnection);
        });
    });
}

void LogoLoader::finished(const QString& url, const QImage& image) {
    --fetching_;
    pending_.remove(url);
    if (image.isNull()) {
        debugLine("Bank logo with url: " + url.toStdString() + " loading failed");
    } else {
        keep(url, image);
    }
    startWaiting();
    Q_EMIT loaded(url, image);
}

void LogoLoader::keep(const QString& url, const QImage& image) {
    kept_.emplace_front(url, image);
    index_.insert(url, kept_.begin());
    while (static_cast<int>(kept_.size()) > settings_.maxKept) {
        index_.remove(kept_.back().first);
        kept_.pop_back();
    }
}

}  // namespace velawidget
