#include "screens/WidgetViewBridge.h"

#include <QLocale>
#include <QMetaObject>
#include <utility>

#include "core/Texts.h"
#include "platform/qt/QtTexts.h"

namespace velawidget {

WidgetViewBridge::WidgetViewBridge(std::shared_ptr<WidgetViewModel> model, QObject* parent)
    : QObject(parent),
      model_(std::move(model)),
      bankList_(std::make_unique<BankListBridge>(model_->bankListViewModelPtr(), this)),
      descriptionText_(QString::fromStdString(model_->descriptionText())) {
    subscriptions_.push_back(model_->bankAppNotFoundError.sink([this](bool flag) {
        if (flag == bankAppNotFoundError_) return;
        bankAppNotFoundError_ = flag;
        Q_EMIT bankAppNotFoundErrorChanged();
    }));
    subscriptions_.push_back(
        model_->dismissPublisher.sink([this](const Unit&) { Q_EMIT dismissRequested(); }));
    // The kind is not a published value: a will-change of either model
    // re-renders the explanation once the change has landed.
    subscriptions_.push_back(model_->onWillChange([this] { scheduleRender(); }));
    subscriptions_.push_back(
        model_->bankListViewModel().onWillChange([this] { scheduleRender(); }));
}

WidgetViewBridge::~WidgetViewBridge() = default;

bool WidgetViewBridge::rightToLeft() const {
    const auto* texts = dynamic_cast<const quick::QtTexts*>(model_->texts().lookup());
    const auto direction = texts ? texts->layoutDirection() : QLocale().textDirection();
    return direction == Qt::RightToLeft;
}

void WidgetViewBridge::retryBankList() {
    model_->retryBankList();
}

void WidgetViewBridge::toggleBankAppNotFoundError() {
    model_->bankAppNotFoundError = !model_->bankAppNotFoundError.value();
}

bool WidgetViewBridge::prepare(const QString& paymentURL) {
    return model_->prepare(paymentURL.toStdString());
}

void WidgetViewBridge::scheduleRender() {
    if (renderPending_) return;
    renderPending_ = true;
    QMetaObject::invokeMethod(this, &WidgetViewBridge::render, Qt::QueuedConnection);
}

void WidgetViewBridge::render() {
    renderPending_ = false;
    // Looked up afresh on every render, so a change of kind shows at once.
    auto text = QString::fromStdString(model_->descriptionText());
    if (text == descriptionText_) return;
    descriptionText_ = std::move(text);
    Q_EMIT descriptionTextChanged();
}

}  // namespace velawidget
