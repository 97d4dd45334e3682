#include "screens/PhonePayment.h"

#include <QMetaObject>

#include "core/Texts.h"

namespace velawidget {

PhonePayment::PhonePayment(QObject* parent) : QObject(parent) {}

void PhonePayment::setModel(WidgetViewBridge* model) {
    if (model == model_) return;
    subscriptions_.clear();
    if (model_) disconnect(model_, &WidgetViewBridge::textsChanged, this, nullptr);
    model_ = model;
    if (model_) {
        // A new link is announced before it lands: read it once it has, so the
        // code never shows the payment the shopper has moved on from.
        subscriptions_.push_back(model_->model().onWillChange([this] {
            if (readPending_) return;
            readPending_ = true;
            QMetaObject::invokeMethod(this, &PhonePayment::readLink, Qt::QueuedConnection);
        }));
        connect(model_, &WidgetViewBridge::textsChanged, this, &PhonePayment::textsChanged);
    }
    Q_EMIT modelChanged();
    Q_EMIT textsChanged();
    readLink();
}

void PhonePayment::readLink() {
    readPending_ = false;
    QString link;
    // A rejected link has no code: neither its own nor an earlier payment's.
    if (model_ && model_->model().linkAccepted()) {
        if (const auto& url = model_->model().paymentURL()) {
            const auto text = url->buffer();
            link = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        }
    }
    if (link == link_) return;
    link_ = std::move(link);
    Q_EMIT linkChanged();
}

QString PhonePayment::text(FixedText which) const {
    if (!model_) return {};
    return QString::fromStdString(model_->model().texts().get(which));
}

}  // namespace velawidget
