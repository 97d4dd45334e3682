#pragma once

#include <QtQml/qqmlregistration.h>

#include <QQuickItem>
#include <QString>

namespace velawidget {

/// A line that only screen readers meet, like a live region: its view gives
/// it a status role with `text` as its name, and a changed name is what
/// screen readers on Qt 6.4 hear. Where Qt can announce (6.8 on), each new
/// text is also announced politely.
class LiveStatus : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged FINAL)

  public:
    explicit LiveStatus(QQuickItem* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);

  Q_SIGNALS:
    void textChanged();

  private:
    QString text_;
};

}  // namespace velawidget
