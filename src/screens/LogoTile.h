#pragma once

#include <QtQml/qqmlregistration.h>

#include <QImage>
#include <QPointer>
#include <QQuickPaintedItem>
#include <QString>

namespace velawidget {

class AppearanceState;
class LogoLoader;

/// The bank's logo tile: 50 by 50, corners rounded at 12. It shows the
/// "SecondaryBackground" fill until its loader has the logo at `url`, then
/// the whole logo scaled to fit and centred. It asks for the logo when it
/// comes on screen and drops the bitmap when it leaves; only the logo of the
/// address it shows now is ever drawn.
class LogoTile : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString url READ url WRITE setUrl NOTIFY urlChanged FINAL)
    Q_PROPERTY(QString rowId READ rowId WRITE setRowId NOTIFY rowIdChanged FINAL)
    Q_PROPERTY(bool loaded READ loaded NOTIFY loadedChanged FINAL)

  public:
    explicit LogoTile(QQuickItem* parent = nullptr);
    ~LogoTile() override;

    QString url() const { return url_; }
    void setUrl(const QString& url);
    QString rowId() const { return rowId_; }
    void setRowId(const QString& rowId);
    bool loaded() const { return !image_.isNull(); }

    /// The loader to ask; by default the one of the tile's QML engine.
    void setLoader(LogoLoader* loader);

    void paint(QPainter* painter) override;

  Q_SIGNALS:
    void urlChanged();
    void rowIdChanged();
    void loadedChanged();

  protected:
    void componentComplete() override;
    void itemChange(ItemChange change, const ItemChangeData& value) override;

  private:
    bool onScreen() const;
    LogoLoader* loader();
    void appear();
    void disappear();
    void fetchAfterFrame();
    void fetch();
    void setImage(QImage image);
    void arrived(const QString& url, const QImage& image);

    QString url_;
    QString rowId_;
    QImage image_;
    bool shown_ = false;
    // Set while the tile waits for the frame that shows it to be drawn.
    QMetaObject::Connection frameWait_;
    QPointer<LogoLoader> loader_;
    // The engine's kit's; it outlives the engine's items.
    const AppearanceState* appearance_ = nullptr;
};

}  // namespace velawidget
