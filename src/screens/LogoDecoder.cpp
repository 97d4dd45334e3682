#include "screens/LogoDecoder.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <string_view>

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

bool mayBeLogo(const QByteArray& bytes) {
    if (!bitmapFormat(bytes).isEmpty()) return true;
    // SVG: past a byte-order mark, blanks, the XML declaration, comments and
    // a document type, the first element is an `svg` (an HTML page, such as
    // a captive portal's answer, is not).
    qsizetype at = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    const auto skipPast = [&](const char* end) {
        const qsizetype found = bytes.indexOf(end, at);
        at = found < 0 ? bytes.size() : found + static_cast<qsizetype>(qstrlen(end));
    };
    while (at < bytes.size()) {
        const char c = bytes[at];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++at;
        } else if (bytes.mid(at, 2) == "<?") {
            skipPast("?>");
        } else if (bytes.mid(at, 4) == "<!--") {
            skipPast("-->");
        } else if (bytes.mid(at, 2) == "<!") {
            const qsizetype bracket = bytes.indexOf('[', at);
            const qsizetype close = bytes.indexOf('>', at);
            skipPast(bracket >= 0 && bracket < close ? "]>" : ">");
        } else if (c == '<') {
            qsizetype end = at + 1;
            while (end < bytes.size() &&
                   std::string_view(" \t\r\n/>").find(bytes[end]) == std::string_view::npos) {
                ++end;
            }
            const QByteArray name = bytes.mid(at + 1, end - at - 1);
            return name == "svg" || name.endsWith(":svg");
        } else {
            return false;
        }
    }
    return false;
}

QImage decodeLogo(const QByteArray& bytes, const LogoLimits& limits) {
    if (bytes.isEmpty() || bytes.size() > limits.maxBytes) return {};
    QElapsedTimer clock;
    clock.start();
    QImage image = looksLikeSvg(bytes) ? drawSvg(bytes, limits) : decodeBitmap(bytes, limits);
    if (clock.elapsed() > limits.maxTime.count()) return {};
    return image;
}

}  // namespace velawidget
