#include "screens/LogoDecoder.h"

#include <QBuffer>
#include <QImageReader>

namespace velawidget {

QImage decodeLogo(const QByteArray& bytes, const LogoLimits& limits) {
    if (bytes.isEmpty() || bytes.size() > limits.maxBytes) return {};
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return {};
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
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

}  // namespace velawidget
