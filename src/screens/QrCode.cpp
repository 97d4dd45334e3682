#include "screens/QrCode.h"

#include <QQuickWindow>
#include <QSGImageNode>
#include <algorithm>
#include <cmath>

#include "screens/QrScale.h"

namespace velawidget {
namespace {

double channel(double value) {
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& color) {
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) +
           0.0722 * channel(color.blueF());
}

}  // namespace

QrCode::QrCode(QQuickItem* parent) : QQuickItem(parent) {
    setFlag(ItemHasContents);
}

void QrCode::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    const QByteArray bytes = text.toUtf8();
    auto encoded = encodeQr(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    if (auto* matrix = std::get_if<QrMatrix>(&encoded)) {
        matrix_ = std::move(*matrix);
    } else {
        matrix_.reset();
    }
    textureStale_ = true;
    refit(window());
    update();
    Q_EMIT textChanged();
}

void QrCode::refit(const QQuickWindow* window) {
    const bool wasValid = valid();
    modulePixels_ = 0;
    // Without a window there is no device pixel ratio to judge by, and
    // nothing is drawn either.
    if (matrix_ && window) {
        const int side =
            qrSidePixels(std::min(width(), height()), window->effectiveDevicePixelRatio());
        modulePixels_ = qrModulePixels(matrix_->size, side).value_or(0);
    }
    if (valid() != wasValid) Q_EMIT validChanged();
}

void QrCode::setPreferredColor(const QColor& color) {
    if (color == preferredColor_) return;
    preferredColor_ = color;
    textureStale_ = true;
    update();
    Q_EMIT preferredColorChanged();
}

QColor QrCode::moduleColor() const {
    // A contrast of 7:1 against the white quiet zone, the strictest of the
    // usual text contrasts; a lighter colour (every dark scheme's text) gives black.
    const QColor opaque = preferredColor_.isValid() ? preferredColor_.toRgb() : QColor(Qt::black);
    if (opaque.alpha() == 255 && luminance(opaque) <= 0.1) return opaque;
    return Qt::black;
}

QImage QrCode::render(int modulePixels) const {
    const int side = (matrix_->size + 2 * qrQuietZone) * modulePixels;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QRgb dark = moduleColor().rgb();
    for (int y = 0; y < matrix_->size; ++y) {
        for (int x = 0; x < matrix_->size; ++x) {
            if (!matrix_->dark(x, y)) continue;
            const int left = (x + qrQuietZone) * modulePixels;
            const int top = (y + qrQuietZone) * modulePixels;
            for (int row = top; row < top + modulePixels; ++row) {
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
                std::fill(line + left, line + left + modulePixels, dark);
            }
        }
    }
    return image;
}

QSGNode* QrCode::updatePaintNode(QSGNode* old, UpdatePaintNodeData*) {
    auto* node = static_cast<QSGImageNode*>(old);
    if (!valid() || !window()) {
        delete node;
        return nullptr;
    }
    const qreal dpr = window()->effectiveDevicePixelRatio();
    const int modules = matrix_->size + 2 * qrQuietZone;
    if (node && (textureStale_ || modulePixels_ != texturedModulePixels_)) {
        delete node;
        node = nullptr;
    }
    if (!node) {
        node = window()->createImageNode();
        node->setTexture(window()->createTextureFromImage(render(modulePixels_)));
        node->setOwnsTexture(true);
        node->setFiltering(QSGTexture::Nearest);
        textureStale_ = false;
        texturedModulePixels_ = modulePixels_;
    }
    // Drawn one texel to one device pixel, from a corner on the device-pixel grid.
    const qreal side = modules * modulePixels_ / dpr;
    QPointF origin((width() - side) / 2, (height() - side) / 2);
    const QPointF scene = mapToScene(origin);
    origin += QPointF(std::round(scene.x() * dpr) / dpr - scene.x(),
                      std::round(scene.y() * dpr) / dpr - scene.y());
    node->setRect(QRectF(origin, QSizeF(side, side)));
    return node;
}

void QrCode::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) {
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    refit(window());
    update();
}

void QrCode::itemChange(ItemChange change, const ItemChangeData& value) {
    QQuickItem::itemChange(change, value);
    if (change == ItemDevicePixelRatioHasChanged || change == ItemSceneChange) {
        textureStale_ = true;
        // The new window, which window() may not return yet while it is told.
        refit(change == ItemSceneChange ? value.window : window());
        update();
    }
}

}  // namespace velawidget
