#pragma once

#include <QtQml/qqmlregistration.h>

#include <QImage>
#include <QQuickPaintedItem>
#include <QUrl>
#include <memory>

class QSvgRenderer;

namespace velawidget {

/// A picture from an SVG of the module, drawn by Qt SVG itself. An `Image`
/// would do the same, but the first image a process reads makes Qt load and
/// query every image-format plugin, and the selector's first frame would wait
/// for that; it would also need the SVG image plugin, which not every Qt
/// installation has. Its implicit size is the drawing's own.
class SvgPicture : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QUrl source READ source WRITE setSource NOTIFY sourceChanged FINAL)

  public:
    explicit SvgPicture(QQuickItem* parent = nullptr);
    ~SvgPicture() override;

    QUrl source() const { return source_; }
    void setSource(const QUrl& source);

    void paint(QPainter* painter) override;

  Q_SIGNALS:
    void sourceChanged();

  protected:
    /// The drawing scaled into the item at the window's device pixel ratio,
    /// transparent around it; null when there is nothing to draw.
    QImage drawing() const;

  private:
    QString resourcePath() const;

    QUrl source_;
    std::unique_ptr<QSvgRenderer> renderer_;  // null without a drawable source
};

}  // namespace velawidget
