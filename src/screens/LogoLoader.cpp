#include "screens/LogoLoader.h"

#include <QMetaObject>

#include "core/Debug.h"

namespace velawidget {
namespace {

/// The loader's thread as the cache's file queue: work runs there in the
/// order it came, behind the decodes already waiting.
class PoolQueue final : public DispatchQueue {
  public:
    explicit PoolQueue(QThreadPool& pool) : pool_(pool) {}
    void async(std::function<void()> work) override { pool_.start(std::move(work)); }

  private:
    QThreadPool& pool_;
};

}  // namespace

LogoLoader::LogoLoader(HttpClientPtr http, FileStorePtr files, const LogoLoaderSettings& settings,
                       QObject* parent)
    : QObject(parent),
      http_(std::move(http)),
      settings_(settings),
      cache_(http_, std::move(files), std::make_shared<PoolQueue>(worker_)) {
    // One thread: logos never take more than one core from the host, and
    // the cache's files are never touched on the main thread.
    worker_.setMaxThreadCount(1);
}

LogoLoader::~LogoLoader() {
    // First the fetches, so no completion hands anything to the thread any
    // more; then the work not started yet is dropped (the pool's destructor
    // would otherwise run each of it, holding up the host's exit), and only
    // the piece under way is waited for.
    fetches_.clear();
    worker_.clear();
    worker_.waitForDone();
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
    auto arrived = [this, url](HttpBody body) {
        // On the loader's thread (from the file) or the HTTP client's queue;
        // the handle keeps the loader there meanwhile. The decode waits its
        // turn on the loader's thread, never holds up the client.
        worker_.start([this, url, body = std::move(body)] {
            QImage image =
                body ? decodeLogo(QByteArray::fromStdString(*body), settings_.limits) : QImage();
            // The destructor waits for this piece: `this` is still whole,
            // and an event still queued goes with it.
            QMetaObject::invokeMethod(
                this, [this, url, image = std::move(image)] { finished(url, image); },
                Qt::QueuedConnection);
        });
    };
    fetches_[url] = cache_.get(std::move(request), std::move(arrived), [](std::string_view body) {
        return mayBeLogo(QByteArray::fromRawData(body.data(), static_cast<qsizetype>(body.size())));
    });
}

void LogoLoader::finished(const QString& url, const QImage& image) {
    fetches_.erase(url);
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
