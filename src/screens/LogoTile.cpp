#include "screens/LogoTile.h"

#include <QPainter>
#include <QPainterPath>
#include <QQmlEngine>
#include <QQuickWindow>
#include <utility>

#include "screens/AppearanceState.h"
#include "screens/EngineKit.h"
#include "screens/LogoLoader.h"

namespace velawidget {

namespace {

constexpr qreal tileSize = 50;

}  // namespace

LogoTile::LogoTile(QQuickItem* parent) : QQuickPaintedItem(parent) {
    setAntialiasing(true);
    setImplicitWidth(tileSize);
    setImplicitHeight(tileSize);
}

LogoTile::~LogoTile() = default;

void LogoTile::setLoader(LogoLoader* loader) {
    if (loader_) disconnect(loader_, nullptr, this, nullptr);
    loader_ = loader;
    if (loader_) connect(loader_, &LogoLoader::loaded, this, &LogoTile::arrived);
}

LogoLoader* LogoTile::loader() {
    if (!loader_) {
        if (auto* engine = qmlEngine(this)) setLoader(&EngineKit::of(*engine).logos());
    }
    return loader_;
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
    if (auto* engine = qmlEngine(this)) {
        appearance_ = &EngineKit::of(*engine).appearance();
        connect(appearance_, &AppearanceState::changed, this, [this] { update(); });
    }
    if (onScreen()) appear();
}

void LogoTile::itemChange(ItemChange change, const ItemChangeData& value) {
    QQuickPaintedItem::itemChange(change, value);
    if (change != ItemSceneChange && change != ItemVisibleHasChanged) return;
    if (!isComponentComplete()) return;
    if (onScreen()) {
        if (!shown_) {
            appear();
        } else if (frameWait_ && change == ItemSceneChange) {
            // Moved to another window before its frame: wait for that one's.
            disconnect(frameWait_);
            frameWait_ = {};
            fetchAfterFrame();
        }
    } else if (shown_) {
        disappear();
    }
}

void LogoTile::appear() {
    shown_ = true;
    // Already showing a logo: nothing to fetch.
    if (!image_.isNull() || url_.isEmpty()) return;
    LogoLoader* source = loader();
    if (!source) return;
    QImage kept = source->kept(url_);
    if (!kept.isNull()) {
        setImage(std::move(kept));
        return;
    }
    fetchAfterFrame();
}

void LogoTile::fetchAfterFrame() {
    // The fetch (a connection, its TLS handshake, a file read, the decode)
    // would compete for the processor with the frame that first shows the
    // rows; it starts once that frame is drawn. Queued, so it runs after the
    // frame is also on screen, and on this thread whichever thread renders.
    // A tile's appearance always brings a frame, unless the window is not
    // exposed, where no logo is seen anyway.
    if (frameWait_ || !window()) return;
    frameWait_ = connect(window(), &QQuickWindow::afterRendering, this, &LogoTile::fetch,
                         Qt::QueuedConnection);
}

void LogoTile::fetch() {
    disconnect(frameWait_);
    frameWait_ = {};
    if (!shown_ || !image_.isNull() || url_.isEmpty()) return;
    if (LogoLoader* source = loader()) source->load(url_);
}

void LogoTile::arrived(const QString& url, const QImage& image) {
    if (!shown_ || url != url_ || image.isNull() || !image_.isNull()) return;
    setImage(image);
}

void LogoTile::disappear() {
    shown_ = false;
    disconnect(frameWait_);
    frameWait_ = {};
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
    // Outside an engine (made from C++), the kit's own look.
    static const ResolvedAppearance plain = resolveAppearance({}, false);
    const ResolvedAppearance& look = appearance_ ? appearance_->resolved() : plain;
    QPainterPath clip;
    clip.addRoundedRect(tile, look.cornerRadius, look.cornerRadius);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setClipPath(clip);
    if (image_.isNull()) {
        painter->fillPath(clip, look.color(QStringLiteral("SecondaryBackground")));
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
