#pragma once

#include <QtQml/qqmlregistration.h>

#include <QColor>
#include <QImage>
#include <QQuickItem>
#include <QString>
#include <optional>

#include "screens/QrMatrix.h"

namespace velawidget {

/// A QR code of `text`, as large as the item allows, centred in it. Each
/// module is a whole number of device pixels, at least `qrMinModulePixels`,
/// and the symbol sits on the device-pixel grid, so no edge is ever blurred
/// at any scale. A code that would get fewer pixels per module is not drawn
/// at all. The modules are always dark on a light quiet zone, as scanners need.
class QrCode : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged FINAL)
    /// The modules' colour when it is dark enough against white; black otherwise.
    Q_PROPERTY(QColor preferredColor READ preferredColor WRITE setPreferredColor NOTIFY
                   preferredColorChanged FINAL)
    /// False when there is no code to show: no text, more than a code holds,
    /// or a code too dense to scan at the item's size in device pixels.
    Q_PROPERTY(bool valid READ valid NOTIFY validChanged FINAL)

  public:
    explicit QrCode(QQuickItem* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);
    QColor preferredColor() const { return preferredColor_; }
    void setPreferredColor(const QColor& color);
    bool valid() const { return modulePixels_ > 0; }

  Q_SIGNALS:
    void textChanged();
    void preferredColorChanged();
    void validChanged();

  protected:
    QSGNode* updatePaintNode(QSGNode* old, UpdatePaintNodeData* data) override;
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;
    void itemChange(ItemChange change, const ItemChangeData& value) override;

  private:
    QColor moduleColor() const;
    QImage render(int modulePixels) const;
    // Judges the code against the item's size at the window's device pixel ratio.
    void refit(const QQuickWindow* window);

    QString text_;
    QColor preferredColor_ = Qt::black;
    std::optional<QrMatrix> matrix_;
    // Device pixels per module of the code as drawn now; 0 draws nothing.
    int modulePixels_ = 0;
    // What the texture on the node was drawn with; anything else redraws it.
    bool textureStale_ = true;
    int texturedModulePixels_ = 0;
};

}  // namespace velawidget
