#include "selection/WidgetViewModel.h"

#include <string>
#include <utility>

#include "catalogue/PaymentLink.h"
#include "core/Debug.h"
#include "selection/BankLink.h"
#include "selection/PublicBank.h"

namespace velawidget {

WidgetViewModel::WidgetViewModel(std::shared_ptr<BankListViewModel> bankListViewModel,
                                 Services services)
    : bankAppNotFoundError(*this, false),
      services_(std::move(services)),
      bankListViewModel_(std::move(bankListViewModel)) {
    // The subscription lives exactly as long as this object, so `this` stays valid in it.
    subscriptions_.push_back(bankListViewModel_->selectedBank.sink(
        [this](const std::optional<Bank>& bank) { openBank(bank); }));
    subscriptions_.push_back(bankListViewModel_->events.sink(
        [this](const SelectorEvent& event) { events.send(event); }));
}

bool WidgetViewModel::prepare(std::string_view paymentURL) {
    std::optional<boost::urls::url> parsed;
    auto accepted = acceptPaymentLink(paymentURL, &parsed);
    if (!parsed) {
        debugLine("preparing widget view model failed, invalid paymentURL: " +
                  std::string(paymentURL));
    }
    if (!accepted) {
        // The shopper must not pay an earlier payment that the host meant to
        // replace: every row goes until the host prepares a valid link.
        if (parsed) setPaymentURL(std::move(parsed));
        linkAccepted_ = false;
        bankListViewModel_->rejectLink(services_.texts->get(FixedText::invalidPaymentLink));
        sendWillChange();
        return false;
    }
    setPaymentURL(std::move(accepted->url));
    linkAccepted_ = true;
    bankListViewModel_->acceptLink();
    setSchema(accepted->schema);
    // The link and its kind are plain fields: screens already showing the
    // model re-render from this signal.
    sendWillChange();
    return true;
}

std::string WidgetViewModel::descriptionText() const {
    std::string key = "LS.VelaWidget.";
    if (schema_) key += rawValue(*schema_);
    key += "DescriptionText";
    return localizedText(services_.texts->lookup(), key);
}

void WidgetViewModel::setTexts(std::shared_ptr<const FixedTexts> texts) {
    bankListViewModel_->setTexts(texts);
    services_.texts = std::move(texts);
    textsReplaced.send(Unit{});
    sendWillChange();
}

void WidgetViewModel::setSchema(Schema schema) {
    const auto previous = std::exchange(schema_, schema);
    loadBankList(previous);
}

void WidgetViewModel::loadBankList(std::optional<Schema> previous) {
    if (!schema_) return;
    const Schema current = *schema_;
    if (previous != schema_) return download(current);
    auto cached = services_.storage.readCachedBankList(current);
    // Nothing to read (never downloaded, or the download failed): an empty
    // list would claim that no bank matches the search, and no later step
    // would ever fetch one, so this is a download after all.
    if (!cached) return download(current);
    showBanks(services_.storage.applyLastUsedOrder(std::move(*cached)), /*fromCache=*/true,
              /*outdated=*/false);
}

std::vector<Bank> WidgetViewModel::linkable(std::vector<Bank> banks) const {
    if (!paymentURL_) return banks;
    // A row that no tap can serve is left out, as the data-only query leaves
    // such a bank out of its answer.
    std::erase_if(banks, [this](const Bank& bank) { return !makeBankLink(*paymentURL_, bank); });
    return banks;
}

void WidgetViewModel::showBanks(std::vector<Bank> banks, bool fromCache, bool outdated) {
    banks = linkable(std::move(banks));
    SelectorEvent shown(SelectorEventKind::listShown);
    shown.count = banks.size();
    shown.fromCache = fromCache;
    bankListViewModel_->updateBanks(std::move(banks), outdated);
    events.send(shown);
}

SelectorEvent WidgetViewModel::report(SelectorEventKind kind, const Bank& bank) {
    SelectorEvent event(kind);
    if (paymentURL_) event.bank = publicBank(*paymentURL_, bank);
    event.webClient = bank.webClientActive();
    events.send(event);
    return event;
}

void WidgetViewModel::retryBankList() {
    if (!schema_ || !linkAccepted_) return;
    events.send(SelectorEvent(SelectorEventKind::retry));
    bankListViewModel_->updateBanks(BankListViewModel::loadingPlaceholders());
    download(*schema_);
}

void WidgetViewModel::download(Schema schema) {
    // Nothing of the model is touched on the HTTP client's queue: the answer
    // hops to the main queue and passes the gate there, if the model is
    // still there.
    services_.storage.fetchBankList(
        schema, Storage::Consumer::screen,
        std::function<void(Storage::FetchResult, const Storage::Details&)>(
            [this, gate = downloads_.first, queue = services_.mainQueue, schema](
                Storage::FetchResult result, const Storage::Details& details) {
                queue->async([this, gate, schema, source = details.source,
                              result = std::move(result)]() mutable {
                    gate->pass([&] { handleBankListResult(schema, std::move(result), source); });
                });
            }));
}

void WidgetViewModel::handleBankListResult(Schema requested, Storage::FetchResult result,
                                           Storage::Source source) {
    // Downloads are not matched to the request that started them; a list for
    // a kind the model no longer serves would put the wrong banks under the
    // current link. The loader has cached it all the same.
    if (schema_ != requested) {
        debugLine("dropping bank list of an earlier kind: " + std::string(rawValue(requested)));
        return;
    }
    // No rows while the link is rejected; the next valid link reads the cache.
    if (!linkAccepted_) return;
    if (auto* banks = std::get_if<std::vector<Bank>>(&result)) {
        const bool fromCache = source == Storage::Source::cacheAfterFailure;
        showBanks(std::move(*banks), fromCache, /*outdated=*/fromCache);
    } else {
        bankListViewModel_->showLoadFailure(
            services_.texts->get(FixedText::emptyBankListFetchingResult));
        SelectorEvent failed(SelectorEventKind::loadFailed);
        failed.cause = std::get<Storage::Error>(result).cause;
        events.send(failed);
    }
}

void WidgetViewModel::openBank(const std::optional<Bank>& bank) {
    if (!bank || !paymentURL_ || !linkAccepted_) return;
    auto link = makeBankLink(*paymentURL_, *bank);
    if (!link) return;
    debugLine("did select bank " + bank->logoURL);
    services_.storage.updateLastUsedBank(bank->logoURL);
    report(SelectorEventKind::bankChosen, *bank);
    openPending_ = true;
    services_.urlOpener->open(
        std::string(link->buffer()), [self = shared_from_this(), chosen = *bank](bool success) {
            self->services_.mainQueue->async(
                [self, chosen, success] { self->handleOpenResult(chosen, success); });
        });
}

void WidgetViewModel::afterOpenSettles(
    std::function<void(const std::optional<SelectorEvent>&)> then) {
    if (!openPending_) return then(std::nullopt);
    openWaiters_.push_back(std::move(then));
}

void WidgetViewModel::handleOpenResult(const Bank& bank, bool success) {
    openPending_ = false;
    // Reported before the screens react, so a screen closing on the
    // dismissal already knows how its showing ended.
    const auto event =
        report(success ? SelectorEventKind::bankOpened : SelectorEventKind::appNotFound, bank);
    // Screens that closed while the system was still opening the link end
    // their showings now, with what really happened.
    for (auto& waiter : std::exchange(openWaiters_, {})) waiter(event);
    if (success) {
        dismissPublisher.send(Unit{});
    } else {
        bankAppNotFoundError = true;
    }
}

}  // namespace velawidget
