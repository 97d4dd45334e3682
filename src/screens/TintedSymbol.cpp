#include "screens/TintedSymbol.h"

#include <QImage>
#include <QPainter>
#include <QQuickWindow>
#include <QSvgRenderer>
#include <cmath>

namespace velawidget {

TintedSymbol::TintedSymbol(QQuickItem* parent) : QQuickPaintedItem(parent) {
    setAntialiasing(true);
}

void TintedSymbol::setSource(const QUrl& source) {
    if (source == source_) return;
    source_ = source;
    update();
    Q_EMIT sourceChanged();
}

void TintedSymbol::setColor(const QColor& color) {
    if (color == color_) return;
    color_ = color;
    update();
    Q_EMIT colorChanged();
}

void TintedSymbol::paint(QPainter* painter) {
    if (source_.isEmpty() || width() <= 0 || height() <= 0) return;
    // qrc:/x names the resource :/x.
    const QString path = source_.scheme() == QLatin1String("qrc")
                             ? QLatin1Char(':') + source_.path()
                             : source_.toLocalFile();
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) return;
    const qreal scale = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    const QSize pixels(static_cast<int>(std::ceil(width() * scale)),
                       static_cast<int>(std::ceil(height() * scale)));
    QImage shape(pixels, QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    {
        QPainter shapePainter(&shape);
        renderer.setAspectRatioMode(Qt::KeepAspectRatio);
        renderer.render(&shapePainter);
        // Keep the drawing's coverage, replace its colour.
        shapePainter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        shapePainter.fillRect(shape.rect(), color_);
    }
    shape.setDevicePixelRatio(scale);
    painter->drawImage(QRectF(0, 0, width(), height()), shape);
}

}  // namespace velawidget
