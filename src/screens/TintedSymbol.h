#pragma once

#include <QtQml/qqmlregistration.h>

#include <QColor>
#include <QQuickPaintedItem>
#include <QUrl>

namespace velawidget {

/// A monochrome symbol from an SVG of the module, drawn in any colour: the
/// drawing's shape, filled with `color`, as a system symbol would be.
class TintedSymbol : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QUrl source READ source WRITE setSource NOTIFY sourceChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)

  public:
    explicit TintedSymbol(QQuickItem* parent = nullptr);

    QUrl source() const { return source_; }
    void setSource(const QUrl& source);
    QColor color() const { return color_; }
    void setColor(const QColor& color);

    void paint(QPainter* painter) override;

  Q_SIGNALS:
    void sourceChanged();
    void colorChanged();

  private:
    QUrl source_;
    QColor color_{Qt::black};
};

}  // namespace velawidget
