#include "screens/SvgPicture.h"

#include <QPainter>
#include <QQuickWindow>
#include <QSvgRenderer>
#include <cmath>

namespace velawidget {

SvgPicture::SvgPicture(QQuickItem* parent) : QQuickPaintedItem(parent) {
    setAntialiasing(true);
}

SvgPicture::~SvgPicture() = default;

void SvgPicture::setSource(const QUrl& source) {
    if (source == source_) return;
    source_ = source;
    // Read once here; every paint draws from it.
    renderer_ = std::make_unique<QSvgRenderer>(resourcePath());
    if (!renderer_->isValid()) renderer_.reset();
    if (renderer_) renderer_->setAspectRatioMode(Qt::KeepAspectRatio);
    const QSize size = renderer_ ? renderer_->defaultSize() : QSize();
    setImplicitSize(size.width(), size.height());
    update();
    Q_EMIT sourceChanged();
}

QString SvgPicture::resourcePath() const {
    // qrc:/x names the resource :/x.
    return source_.scheme() == QLatin1String("qrc") ? QLatin1Char(':') + source_.path()
                                                    : source_.toLocalFile();
}

QImage SvgPicture::drawing() const {
    if (!renderer_ || width() <= 0 || height() <= 0) return {};
    const qreal scale = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    const QSize pixels(static_cast<int>(std::ceil(width() * scale)),
                       static_cast<int>(std::ceil(height() * scale)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        renderer_->render(&painter);
    }
    image.setDevicePixelRatio(scale);
    return image;
}

void SvgPicture::paint(QPainter* painter) {
    const QImage image = drawing();
    if (!image.isNull()) painter->drawImage(QRectF(0, 0, width(), height()), image);
}

}  // namespace velawidget
