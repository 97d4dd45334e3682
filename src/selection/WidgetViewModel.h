#pragma once

#include <velawidget/SelectorEvents.h>
#include <velawidget/platform/DispatchQueue.h>
#include <velawidget/platform/UrlOpener.h>

#include <boost/url/url.hpp>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/BankListDocument.h"
#include "catalogue/Schema.h"
#include "catalogue/Storage.h"
#include "core/AnswerGate.h"
#include "core/Observable.h"
#include "core/Texts.h"
#include "selection/BankListViewModel.h"

namespace velawidget {

/// The state behind the selector screen: the payment link being served and
/// its kind, the bank list it loads for that kind, and what a tapped bank
/// turns into (its link opened, then a dismissal or the alert flag).
/// Main thread only. Own it through a `std::shared_ptr`: a bank's link
/// with the system keeps the model until the system answers, so screens that
/// closed meanwhile still hear how their showing ended. A download keeps
/// nothing: its answer is dropped once the model is gone.
class WidgetViewModel : public ObservableObject,
                        public std::enable_shared_from_this<WidgetViewModel> {
  public:
    struct Services {
        Storage storage;
        /// Both completions hop here before touching any state.
        DispatchQueuePtr mainQueue;
        UrlOpenerPtr urlOpener;
        /// Shared with the bank list's model.
        std::shared_ptr<const FixedTexts> texts;
    };

    WidgetViewModel(std::shared_ptr<BankListViewModel> bankListViewModel, Services services);
    WidgetViewModel(const WidgetViewModel&) = delete;
    WidgetViewModel& operator=(const WidgetViewModel&) = delete;

    BankListViewModel& bankListViewModel() { return *bankListViewModel_; }
    const std::shared_ptr<BankListViewModel>& bankListViewModelPtr() const {
        return bankListViewModel_;
    }

    /// One event each time the screen must close.
    PassthroughSubject<Unit> dismissPublisher;
    /// Everything that happens to the list and its banks, as it happens
    /// (screens add their own showings and the phone code).
    PassthroughSubject<SelectorEvent> events;
    /// The queue all of this model's work runs on.
    const DispatchQueuePtr& mainQueue() const { return services_.mainQueue; }

    /// Loads a payment link: the URL first, then its kind, which starts the
    /// bank list's load; then tells screens already showing the model to
    /// re-render. A text that fails an acceptance test keeps the kind, stores
    /// the URL when it parses, and rejects the link: no screen offers a bank
    /// or opens a link (of this payment or an earlier one) until a valid link
    /// is prepared, and the list says that the payment link is not valid.
    /// Returns whether the link was accepted.
    bool prepare(std::string_view paymentURL);
    /// False before the first link and after a rejected one.
    bool linkAccepted() const { return linkAccepted_; }

    const std::optional<boost::urls::url>& paymentURL() const { return paymentURL_; }
    void setPaymentURL(std::optional<boost::urls::url> url) { paymentURL_ = std::move(url); }

    std::optional<Schema> schema() const { return schema_; }
    /// The explanation under the logo, looked up at every call (so a change
    /// of kind shows at once): "LS.VelaWidget." + the kind's raw value
    /// (nothing before a kind is known) + "DescriptionText".
    std::string descriptionText() const;
    const FixedTexts& texts() const { return *services_.texts; }
    /// Both models speak another language from now on; screens hear it
    /// through `textsReplaced` and re-render.
    void setTexts(std::shared_ptr<const FixedTexts> texts);
    PassthroughSubject<Unit> textsReplaced;
    /// Stores the kind and loads its banks: a changed kind downloads, the same
    /// kind again re-reads the cached list at once, or downloads when there is
    /// none to read.
    void setSchema(Schema schema);
    /// Downloads the current kind's list again after a failure, with the
    /// loading rows up meanwhile. Does nothing before a kind is known.
    void retryBankList();

    /// True once the system could not open a bank's link; the alert clears it.
    Published<bool> bankAppNotFoundError;

    /// A chosen bank's link is with the system and its answer not back yet.
    bool openPending() const { return openPending_; }
    /// Runs `then` with the `bankOpened` or `appNotFound` event once the
    /// pending open is answered, after the event went out; at once with
    /// nothing when no open is pending.
    void afterOpenSettles(std::function<void(const std::optional<SelectorEvent>&)> then);

  private:
    void loadBankList(std::optional<Schema> previous);
    void download(Schema schema);
    void handleBankListResult(Schema requested, Storage::FetchResult result,
                              Storage::Source source);
    void openBank(const std::optional<Bank>& bank);
    void handleOpenResult(const Bank& bank, bool success);
    void showBanks(std::vector<Bank> banks, bool fromCache, bool outdated);
    SelectorEvent report(SelectorEventKind kind, const Bank& bank);
    /// The banks a tap can serve: those the current link makes a link for.
    std::vector<Bank> linkable(std::vector<Bank> banks) const;

    Services services_;
    std::shared_ptr<BankListViewModel> bankListViewModel_;
    std::optional<boost::urls::url> paymentURL_;
    std::optional<Schema> schema_;
    bool linkAccepted_ = false;
    bool openPending_ = false;
    std::vector<std::function<void(const std::optional<SelectorEvent>&)>> openWaiters_;
    SubscriptionSet subscriptions_;
    /// Download answers pass here on the main queue; closed first when the
    /// model goes (the last member), so none reaches a model half destroyed.
    std::pair<std::shared_ptr<AnswerGate>, Cancellable> downloads_ = AnswerGate::open();
};

}  // namespace velawidget
