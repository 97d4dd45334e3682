#pragma once

#include <QtQml/qqmlregistration.h>

#include <QObject>
#include <QPointer>
#include <QString>

#include "core/Observable.h"
#include "screens/WidgetViewBridge.h"
#include "selection/WidgetViewModel.h"

namespace velawidget {

/// What the "pay with your phone" view shows: the payment link of the
/// selector's model, kept current when a new link is loaded, and its texts.
class PhonePayment : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(
        velawidget::WidgetViewBridge* model READ model WRITE setModel NOTIFY modelChanged FINAL)
    Q_PROPERTY(QString link READ link NOTIFY linkChanged FINAL)
    Q_PROPERTY(QString title READ title NOTIFY textsChanged FINAL)
    Q_PROPERTY(QString scanText READ scanText NOTIFY textsChanged FINAL)
    Q_PROPERTY(QString unavailableText READ unavailableText NOTIFY textsChanged FINAL)
    Q_PROPERTY(QString backText READ backText NOTIFY textsChanged FINAL)

  public:
    explicit PhonePayment(QObject* parent = nullptr);

    WidgetViewBridge* model() const { return model_.data(); }
    void setModel(WidgetViewBridge* model);
    QString link() const { return link_; }
    QString title() const { return text(FixedText::payWithPhone); }
    QString scanText() const { return text(FixedText::scanWithPhone); }
    QString unavailableText() const { return text(FixedText::phoneCodeUnavailable); }
    QString backText() const { return text(FixedText::back); }

  Q_SIGNALS:
    void modelChanged();
    void linkChanged();
    void textsChanged();

  private:
    QString text(FixedText which) const;
    void readLink();

    QPointer<WidgetViewBridge> model_;
    QString link_;
    bool readPending_ = false;
    SubscriptionSet subscriptions_;
};

}  // namespace velawidget
