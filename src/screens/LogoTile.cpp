#include "screens/LogoTile.h"

#include <velawidget/platform.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <QPainter>
#include <QPainterPath>
#include <QThreadPool>
#include <QUrl>
#include <algorithm>
#include <utility>

#include "platform/Debug.h"
#include "screens/ColourCatalogue.h"
#include "screens/ColourScheme.h"
#include "screens/LogoDecoder.h"

namespace velawidget {

struct LogoTile::Load {
    LogoTile* tile;
    QString url;
    QString rowId;
};

namespace {

constexpr qreal tileSize = 50;
constexpr qreal cornerRadius = 12;
constexpr auto logoTimeout = std::chrono::seconds(60);

}  // namespace

LogoTile::LogoTile(QQuickItem* parent) : QQuickPaintedItem(parent) {
    setAntialiasing(true);
    setImplicitWidth(tileSize);
    setImplicitHeight(tileSize);
    connect(&ColourScheme::instance(), &ColourScheme::changed, this, [this] { update(); });
}

LogoTile::~LogoTile() {
    // Results still on their way find no load to deliver to.
    for (auto& load : loads_) load->tile = nullptr;
}

bool LogoTile::fetchable(const QString& url) {
    const QUrl parsed(url, QUrl::StrictMode);
    const QString scheme = parsed.scheme();
    return parsed.isValid() && !parsed.host().isEmpty() &&
           (scheme == QLatin1String("https") || scheme == QLatin1String("http"));
}

void LogoTile::setUrl(const QString& url) {
    if (url == url_) return;
    url_ = url;
    // A tile given to another bank starts over from the placeholder.
    setImage({});
    Q_EMIT urlChanged();
    if (onScreen()) appear();
}

void LogoTile::setRowId(const QString& rowId) {
    if (rowId == rowId_) return;
    rowId_ = rowId;
    setImage({});
    Q_EMIT rowIdChanged();
    if (onScreen()) appear();
}

bool LogoTile::onScreen() const {
    return isComponentComplete() && window() && isVisible();
}

void LogoTile::componentComplete() {
    QQuickPaintedItem::componentComplete();
    if (onScreen()) appear();
}

void LogoTile::itemChange(ItemChange change, const ItemChangeData& value) {
    QQuickPaintedItem::itemChange(change, value);
    if (change != ItemSceneChange && change != ItemVisibleHasChanged) return;
    if (!isComponentComplete()) return;
    if (onScreen()) {
        if (!shown_) appear();
    } else if (shown_) {
        disappear();
    }
}

void LogoTile::appear() {
    shown_ = true;
    // Already showing a logo: nothing to fetch.
    if (!image_.isNull() || !fetchable(url_)) return;
    auto load = std::make_shared<Load>(Load{this, url_, rowId_});
    loads_.push_back(load);
    std::weak_ptr<Load> weak = load;
    HttpRequest request;
    request.url = url_.toStdString();
    request.timeout = logoTimeout;
    request.cachePolicy = CachePolicy::useCacheFirst;
    currentPlatform().http->get(std::move(request), [weak](HttpBody body) {
        // On the HTTP client's queue: decoding waits for a pool thread, never
        // for the main thread and never holds up the client.
        QThreadPool::globalInstance()->start([weak, body = std::move(body)] {
            QImage image = body ? decodeLogo(QByteArray::fromStdString(*body)) : QImage();
            auto* app = QCoreApplication::instance();
            if (!app) return;
            QMetaObject::invokeMethod(
                app,
                [weak, image = std::move(image)]() mutable {
                    auto load = weak.lock();
                    if (load && load->tile) load->tile->finished(*load, std::move(image));
                },
                Qt::QueuedConnection);
        });
    });
}

void LogoTile::finished(const Load& load, QImage image) {
    const auto it = std::find_if(loads_.begin(), loads_.end(),
                                 [&](const auto& listed) { return listed.get() == &load; });
    if (it == loads_.end()) return;
    const auto kept = *it;  // keeps `load` alive while it is read below
    loads_.erase(it);
    if (image.isNull()) {
        debugLine("Bank logo with url: " + kept->url.toStdString() + " loading failed");
        return;
    }
    // Only a result for the row and address the tile shows now.
    if (kept->url != url_ || kept->rowId != rowId_) return;
    setImage(std::move(image));
}

void LogoTile::disappear() {
    shown_ = false;
    setImage({});
}

void LogoTile::setImage(QImage image) {
    const bool wasLoaded = loaded();
    image_ = std::move(image);
    update();
    if (wasLoaded != loaded()) Q_EMIT loadedChanged();
}

void LogoTile::paint(QPainter* painter) {
    const QRectF tile(0, 0, width(), height());
    QPainterPath clip;
    clip.addRoundedRect(tile, cornerRadius, cornerRadius);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setClipPath(clip);
    if (image_.isNull()) {
        const auto& colour = namedColour(QStringLiteral("SecondaryBackground"));
        painter->fillPath(clip, ColourScheme::instance().dark() ? colour.dark : colour.light);
        return;
    }
    // The whole logo, centred; the strips it leaves stay transparent.
    const QSizeF fitted = QSizeF(image_.size()).scaled(tile.size(), Qt::KeepAspectRatio);
    const QRectF target(
        QPointF((tile.width() - fitted.width()) / 2, (tile.height() - fitted.height()) / 2),
        fitted);
    painter->drawImage(target, image_);
}

}  // namespace velawidget
