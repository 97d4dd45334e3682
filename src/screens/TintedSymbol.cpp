#include "screens/TintedSymbol.h"

#include <QPainter>

namespace velawidget {

TintedSymbol::TintedSymbol(QQuickItem* parent) : SvgPicture(parent) {}

void TintedSymbol::setColor(const QColor& color) {
    if (color == color_) return;
    color_ = color;
    update();
    Q_EMIT colorChanged();
}

void TintedSymbol::paint(QPainter* painter) {
    QImage shape = drawing();
    if (shape.isNull()) return;
    {
        // Keep the drawing's coverage, replace its colour.
        QPainter tint(&shape);
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(shape.rect(), color_);
    }
    painter->drawImage(QRectF(0, 0, width(), height()), shape);
}

}  // namespace velawidget
