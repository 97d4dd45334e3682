#include "screens/LogoDecoder.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

namespace velawidget {
namespace {

/// The reader for the bytes' signature; none for anything else, so that no
/// plugin is ever picked by guessing (some read further files by name).
QByteArray bitmapFormat(const QByteArray& bytes) {
    if (bytes.startsWith("\x89PNG\r\n\x1a\n")) return "png";
    if (bytes.startsWith("\xFF\xD8\xFF")) return "jpeg";
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a")) return "gif";
    if (bytes.size() >= 12 && bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP") {
        return "webp";
    }
    return {};
}

QImage decodeBitmap(const QByteArray& bytes, const LogoLimits& limits) {
    const QByteArray format = bitmapFormat(bytes);
    if (format.isEmpty()) return {};
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return {};
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    // Qt's own guard against decompression bombs, in megabytes.
    reader.setAllocationLimit(64);
    const QSize stored = reader.size();
    if (!stored.isValid() || stored.isEmpty()) return {};
    if (static_cast<qint64>(stored.width()) * stored.height() > limits.maxStoredPixels) return {};
    if (stored.width() > limits.box.width() || stored.height() > limits.box.height()) {
        reader.setScaledSize(stored.scaled(limits.box, Qt::KeepAspectRatio));
    }
    QImage image = reader.read();
    if (image.isNull()) return {};
    // A format that could not scale while decoding is scaled now.
    if (image.width() > limits.box.width() || image.height() > limits.box.height()) {
        image = image.scaled(limits.box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return image;
}

QImage drawSvg(const QByteArray& bytes, const LogoLimits& limits) {
    const auto clean = sanitizeSvg(bytes, limits.svg);
    if (!clean) return {};
    QSvgRenderer renderer(*clean);
    if (!renderer.isValid()) return {};
    QSizeF natural = renderer.viewBoxF().size();
    if (renderer.defaultSize().isValid() && !renderer.defaultSize().isEmpty()) {
        natural = renderer.defaultSize();
    }
    if (!natural.isValid() || natural.isEmpty()) natural = limits.box;
    // Drawn at the box's resolution: a vector logo is as sharp as the tile allows.
    const QSize size = natural.scaled(limits.box, Qt::KeepAspectRatio).toSize();
    if (size.isEmpty()) return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    painter.end();
    return image;
}

}  // namespace

QImage decodeLogo(const QByteArray& bytes, const LogoLimits& limits) {
    if (bytes.isEmpty() || bytes.size() > limits.maxBytes) return {};
    QElapsedTimer clock;
    clock.start();
    QImage image = looksLikeSvg(bytes) ? drawSvg(bytes, limits) : decodeBitmap(bytes, limits);
    if (clock.elapsed() > limits.maxTime.count()) return {};
    return image;
}

}  // namespace velawidget
