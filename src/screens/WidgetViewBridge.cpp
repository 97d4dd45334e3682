#include "screens/WidgetViewBridge.h"

#include <QLocale>
#include <QMetaObject>
#include <QPointer>
#include <QtGlobal>
#include <utility>

#include "core/Texts.h"
#include "platform/qt/QtTexts.h"

namespace velawidget {
namespace {

void describeBank(QVariantMap& map, const VelaWidgetBankPtr& bank, bool webClient) {
    if (!bank) return;
    map.insert(QStringLiteral("bankName"), QString::fromStdString(bank->name()));
    map.insert(QStringLiteral("link"), QString::fromStdString(bank->dboLink()));
    map.insert(QStringLiteral("webClient"), webClient);
}

QString word(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

WidgetViewBridge::WidgetViewBridge(std::shared_ptr<WidgetViewModel> model, QObject* parent)
    : QObject(parent),
      model_(std::move(model)),
      bankList_(std::make_unique<BankListBridge>(model_->bankListViewModelPtr(), this)),
      descriptionText_(QString::fromStdString(model_->descriptionText())),
      session_(model_) {
    subscriptions_.push_back(model_->bankAppNotFoundError.sink([this](bool flag) {
        if (flag == bankAppNotFoundError_) return;
        bankAppNotFoundError_ = flag;
        Q_EMIT bankAppNotFoundErrorChanged();
    }));
    subscriptions_.push_back(model_->bankListViewModel().linkRejected.sink([this](bool rejected) {
        if (rejected == linkRejected_) return;
        linkRejected_ = rejected;
        Q_EMIT linkRejectedChanged();
    }));
    subscriptions_.push_back(
        model_->dismissPublisher.sink([this](const Unit&) { Q_EMIT dismissRequested(); }));
    subscriptions_.push_back(model_->textsReplaced.sink([this](const Unit&) {
        Q_EMIT textsChanged();
        Q_EMIT bankList_->textsChanged();
    }));
    // The kind is not a published value: a will-change of either model
    // re-renders the explanation once the change has landed.
    subscriptions_.push_back(model_->onWillChange([this] { scheduleRender(); }));
    subscriptions_.push_back(
        model_->bankListViewModel().onWillChange([this] { scheduleRender(); }));
    // QML hears of events after the kit's work for them, like C++ hosts.
    subscriptions_.push_back(model_->events.sink([this](const SelectorEvent& event) {
        QVariantMap map{{QStringLiteral("kind"), word(toString(event.kind))},
                        {QStringLiteral("count"), static_cast<qulonglong>(event.count)},
                        {QStringLiteral("textLength"), static_cast<qulonglong>(event.textLength)},
                        {QStringLiteral("fromCache"), event.fromCache}};
        describeBank(map, event.bank, event.webClient);
        QMetaObject::invokeMethod(
            this, [this, map] { Q_EMIT selectorEvent(map); }, Qt::QueuedConnection);
    }));
    setResultHandler({});
}

void WidgetViewBridge::setResultHandler(SelectorResultHandler handler) {
    // The result arrives after the screen went away, perhaps with it: the
    // host still hears of it, the screen's signal only while it exists.
    session_.setResultHandler(
        [bridge = QPointer(this), host = std::move(handler)](const SelectorResult& result) {
            if (host) host(result);
            if (!bridge) return;
            QVariantMap map{{QStringLiteral("outcome"), word(toString(result.outcome))}};
            describeBank(map, result.bank, result.webClient);
            Q_EMIT bridge->finished(map);
        });
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
    if (model_->prepare(paymentURL.toStdString())) return true;
    // A host that ignores the return value still hears of it, in its log.
    qWarning(
        "VelaWidget: prepare() rejected a text that is not a payment link; the selector "
        "opens no bank until a valid payment link is prepared");
    Q_EMIT paymentLinkRejected(paymentURL);
    return false;
}

void WidgetViewBridge::setShowing(bool showing) {
    if (showing) {
        session_.begin();
    } else {
        session_.end();
    }
}

void WidgetViewBridge::reportPhoneCode() {
    model_->events.send(SelectorEvent(SelectorEventKind::qrShown));
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
