#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

namespace velawidget {

/// Limits on what a downloaded logo may cost to decode.
struct LogoLimits {
    qsizetype maxBytes = 4 * 1024 * 1024;
    /// Pixels of the image as stored, before scaling; a larger image is refused
    /// before any pixel is decoded.
    qint64 maxStoredPixels = 4096LL * 4096LL;
    /// The decoded bitmap fits this box (aspect ratio kept); larger images are
    /// decoded straight to it where the format allows.
    QSize box{150, 150};
};

/// The bitmap of a logo from bytes off the network, or a null image when
/// they are not an image the limits allow. Safe on any thread.
QImage decodeLogo(const QByteArray& bytes, const LogoLimits& limits = {});

}  // namespace velawidget
