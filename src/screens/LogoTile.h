#pragma once

#include <QtQml/qqmlregistration.h>

#include <QImage>
#include <QQuickPaintedItem>
#include <QString>
#include <memory>
#include <vector>

namespace velawidget {

/// The bank's logo tile: 50 by 50, corners rounded at 12. It shows the
/// "SecondaryBackground" fill until the logo at `url` has been fetched
/// (response cache first, 60 s) and decoded off the main thread, then the
/// whole logo scaled to fit and centred. It fetches when it comes on screen
/// and drops the bitmap when it leaves. Only http and https addresses are
/// fetched. A load belongs to the row and address it was started for: a
/// result that arrives after the tile was given another row or address is
/// thrown away.
class LogoTile : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString url READ url WRITE setUrl NOTIFY urlChanged)
    Q_PROPERTY(QString rowId READ rowId WRITE setRowId NOTIFY rowIdChanged)
    Q_PROPERTY(bool loaded READ loaded NOTIFY loadedChanged)

  public:
    explicit LogoTile(QQuickItem* parent = nullptr);
    ~LogoTile() override;

    QString url() const { return url_; }
    void setUrl(const QString& url);
    QString rowId() const { return rowId_; }
    void setRowId(const QString& rowId);
    bool loaded() const { return !image_.isNull(); }

    void paint(QPainter* painter) override;

    /// Whether a tile fetches `url` at all.
    static bool fetchable(const QString& url);

  Q_SIGNALS:
    void urlChanged();
    void rowIdChanged();
    void loadedChanged();

  protected:
    void componentComplete() override;
    void itemChange(ItemChange change, const ItemChangeData& value) override;

  private:
    struct Load;
    bool onScreen() const;
    void appear();
    void disappear();
    void setImage(QImage image);
    void finished(const Load& load, QImage image);

    QString url_;
    QString rowId_;
    QImage image_;
    bool shown_ = false;
    // Loads in flight; each result checks its load is still listed here.
    std::vector<std::shared_ptr<Load>> loads_;
};

}  // namespace velawidget
