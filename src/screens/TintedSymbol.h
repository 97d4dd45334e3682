#pragma once

#include <QtQml/qqmlregistration.h>

#include <QColor>

#include "screens/SvgPicture.h"

namespace velawidget {

/// A monochrome symbol from an SVG of the module, drawn in any colour: the
/// drawing's shape, filled with `color`, as a system symbol would be.
// Qualified: the QML type registrar resolves a base class by its full name.
class TintedSymbol : public velawidget::SvgPicture {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged FINAL)

  public:
    explicit TintedSymbol(QQuickItem* parent = nullptr);

    QColor color() const { return color_; }
    void setColor(const QColor& color);

    void paint(QPainter* painter) override;

  Q_SIGNALS:
    void colorChanged();

  private:
    QColor color_{Qt::black};
};

}  // namespace velawidget
