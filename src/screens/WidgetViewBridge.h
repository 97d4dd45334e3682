#pragma once

#include <QtQml/qqmlregistration.h>

#include <QObject>
#include <QString>
#include <QVariantMap>
#include <memory>

#include "core/Observable.h"
#include "core/Texts.h"
#include "screens/BankListBridge.h"
#include "selection/SelectorSession.h"
#include "selection/WidgetViewModel.h"

namespace velawidget {

/// The widget view model as QML sees it. The selector front end makes one
/// for each screen and hands it to `WidgetView` as its `model`.
class WidgetViewBridge : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the selector front end; QML hosts use SharedSelector.model")
    Q_PROPERTY(velawidget::BankListBridge* bankList READ bankList CONSTANT FINAL)
    Q_PROPERTY(QString descriptionText READ descriptionText NOTIFY descriptionTextChanged FINAL)
    Q_PROPERTY(bool bankAppNotFoundError READ bankAppNotFoundError NOTIFY
                   bankAppNotFoundErrorChanged FINAL)
    Q_PROPERTY(QString alertTitle READ alertTitle NOTIFY textsChanged FINAL)
    Q_PROPERTY(QString alertMessage READ alertMessage NOTIFY textsChanged FINAL)
    Q_PROPERTY(QString alertButton READ alertButton NOTIFY textsChanged FINAL)
    Q_PROPERTY(QString selectorTitle READ selectorTitle NOTIFY textsChanged FINAL)
    Q_PROPERTY(bool rightToLeft READ rightToLeft NOTIFY textsChanged FINAL)
    Q_PROPERTY(bool linkRejected READ linkRejected NOTIFY linkRejectedChanged FINAL)

  public:
    explicit WidgetViewBridge(std::shared_ptr<WidgetViewModel> model, QObject* parent = nullptr);
    ~WidgetViewBridge() override;

    BankListBridge* bankList() { return bankList_.get(); }
    QString descriptionText() const { return descriptionText_; }
    bool bankAppNotFoundError() const { return bankAppNotFoundError_; }
    /// The last link prepared was rejected: the screen offers no bank and
    /// says that the payment link is not valid.
    bool linkRejected() const { return linkRejected_; }
    QString alertTitle() const { return text(FixedText::error); }
    QString alertMessage() const { return text(FixedText::openUrlError); }
    QString alertButton() const { return text(FixedText::ok); }
    QString selectorTitle() const { return text(FixedText::selectorTitle); }
    /// Whether the texts are in a right-to-left language, whatever direction
    /// the host application runs in: the Qt tables' language, or the default
    /// locale's when the host installed texts of its own.
    bool rightToLeft() const;

    /// The alert's button: flips the flag back.
    Q_INVOKABLE void toggleBankAppNotFoundError();
    /// The list's Retry button: downloads the current kind's banks again.
    Q_INVOKABLE void retryBankList();
    /// Loads a payment link into the model, for hosts written in QML.
    /// Returns false when the text is not a payment link: then every screen
    /// of the model says so and opens nothing, not even the link prepared
    /// before, until a valid link is prepared; `paymentLinkRejected` is
    /// emitted and a warning logged.
    Q_INVOKABLE bool prepare(const QString& paymentURL);
    /// The screen is up (or no longer): each showing ends in one `finished`.
    Q_INVOKABLE void setShowing(bool showing);
    /// The payment link is shown as a code to scan.
    Q_INVOKABLE void reportPhoneCode();

    /// Also told how each showing ended, for the C++ host of a window.
    void setResultHandler(SelectorResultHandler handler);

    WidgetViewModel& model() { return *model_; }

  Q_SIGNALS:
    void descriptionTextChanged();
    /// The texts are in another language (and perhaps direction) now.
    void textsChanged();
    void bankAppNotFoundErrorChanged();
    void linkRejectedChanged();
    /// `prepare` refused `paymentURL`.
    void paymentLinkRejected(const QString& paymentURL);
    /// The model asked the screen to close (a bank link was opened).
    void dismissRequested();
    /// How a showing ended: `outcome` ("bankOpened", "bankNotOpened",
    /// "cancelled", "loadFailed"), and for a chosen bank `bankName`,
    /// `link` and `webClient`.
    void finished(const QVariantMap& result);
    /// One of the model's events: `kind` ("listShown", "search", ...),
    /// `count`, `textLength`, `fromCache`, and for a bank `bankName`,
    /// `link` and `webClient`.
    void selectorEvent(const QVariantMap& event);

  private:
    QString text(FixedText which) const {
        return QString::fromStdString(model_->texts().get(which));
    }
    void scheduleRender();
    void render();

    std::shared_ptr<WidgetViewModel> model_;
    std::unique_ptr<BankListBridge> bankList_;
    QString descriptionText_;
    bool bankAppNotFoundError_ = false;
    bool linkRejected_ = false;
    bool renderPending_ = false;
    SelectorSession session_;
    // Last, so the handlers are gone before the members they write.
    SubscriptionSet subscriptions_;
};

}  // namespace velawidget
