#pragma once

#include <cmath>
#include <optional>

#include "screens/QrMatrix.h"

namespace velawidget {

/// The fewest whole device pixels per module a code is drawn with. zbarimg
/// reads a code drawn at 1 pixel per module about half the time, and at 2
/// only while its edges are perfectly sharp: a blur of under a pixel, as any
/// camera adds, and it reads none. At 3 it reads them all, blurred, or
/// resampled to 83 % (docs/design.md has the measurement).
inline constexpr int qrMinModulePixels = 3;

/// The device pixels along the side of a square of `logicalSide` at
/// `devicePixelRatio`, whole pixels only. The tolerance keeps a side that is
/// a whole number of device pixels, but reached in floating point (a third of
/// 640 at ratio 1.5), from losing that last pixel to rounding.
inline int qrSidePixels(double logicalSide, double devicePixelRatio) {
    if (!(logicalSide > 0) || !(devicePixelRatio > 0)) return 0;
    return static_cast<int>(std::floor(logicalSide * devicePixelRatio + 1e-6));
}

/// Whole device pixels per module when a symbol of `symbolSize` modules and
/// its quiet zone are drawn into a square of `sidePixels` device pixels: as
/// many as fit. Nothing when that is fewer than `qrMinModulePixels`, as no
/// phone would read the code drawn there.
constexpr std::optional<int> qrModulePixels(int symbolSize, int sidePixels) {
    if (symbolSize <= 0 || sidePixels <= 0) return std::nullopt;
    const int pixels = sidePixels / (symbolSize + 2 * qrQuietZone);
    if (pixels < qrMinModulePixels) return std::nullopt;
    return pixels;
}

}  // namespace velawidget
