#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <chrono>

#include "screens/SvgSanitizer.h"

namespace velawidget {

/// What a downloaded logo may cost to decode. A logo over any of them shows
/// the empty tile.
struct LogoLimits {
    qsizetype maxBytes = qsizetype{4} * 1024 * 1024;
    /// Pixels of the image as stored, before scaling; a larger image is refused
    /// before any pixel is decoded.
    qint64 maxStoredPixels = 4096LL * 4096LL;
    /// The decoded bitmap fits this box (aspect ratio kept); larger images are
    /// decoded straight to it where the format allows, SVG is drawn to it.
    QSize box{150, 150};
    SvgLimits svg;
    /// A decode that took longer is thrown away: its logo is not worth the wait
    /// of the next one. The caps above keep every decode far below it.
    std::chrono::milliseconds maxTime{500};
};

/// The bitmap of a logo from bytes off the network, or a null image when
/// they are not an image the limits allow. PNG, JPEG, GIF and WebP go to
/// their own image reader only, chosen by their signature; SVG is drawn from
/// what `sanitizeSvg` keeps of it, never from the bytes as they came. Safe
/// on any thread.
QImage decodeLogo(const QByteArray& bytes, const LogoLimits& limits = {});

/// Whether `bytes` start as a logo `decodeLogo` reads does: a bitmap's
/// signature, or markup. Cheap: it tells an error page or a stray answer
/// from a logo worth keeping, not whether the logo draws.
bool mayBeLogo(const QByteArray& bytes);

}  // namespace velawidget
