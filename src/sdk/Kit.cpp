#include "sdk/Kit.h"

#include <velawidget/VelaWidgetError.h>

#include <stdexcept>
#include <system_error>
#include <utility>
#include <vector>

#include "catalogue/PaymentLink.h"
#include "core/Debug.h"
#include "platform/DefaultHttpClient.h"
#include "selection/PublicBank.h"

namespace velawidget {
namespace {

BankListReport deliver(const boost::urls::url& paymentURL, Storage::FetchResult outcome,
                       const Storage::Details& details) {
    auto* banks = std::get_if<std::vector<Bank>>(&outcome);
    if (!banks) {
        BankListReport report(VelaWidgetError::loadingFaild);
        report.cause = details.cause;
        report.httpStatus = details.httpStatus;
        return report;
    }
    std::vector<VelaWidgetBankPtr> result;
    result.reserve(banks->size());
    for (const auto& bank : *banks) {
        if (auto made = publicBank(paymentURL, bank)) result.push_back(std::move(made));
    }
    BankListReport report{BankListResult(std::move(result))};
    report.cause = details.cause;
    report.httpStatus = details.httpStatus;
    report.fromCache = details.source == Storage::Source::cacheAfterFailure;
    report.cacheAge = details.cacheAge;
    return report;
}

}  // namespace

Kit::Kit(Platform platform, SelectorFrontEnd frontEnd)
    : platform_(withPortableDefaults(std::move(platform))),
      frontEnd_(frontEnd),
      texts_(std::make_shared<const FixedTexts>(platform_.texts)),
      storage_(platform_.http, platform_.files) {
    auto list = std::make_shared<BankListViewModel>(platform_.scheduler, texts_);
    widgetViewModel_ = std::make_shared<WidgetViewModel>(
        std::move(list),
        WidgetViewModel::Services{storage_, platform_.mainQueue, platform_.urlOpener, texts_});
    // The host hears of events once the kit's own work for them is done, so
    // a handler may call back into the kit or close a selector.
    // The handler is looked up when the event is delivered, not when it is
    // queued: once `setEventHandler` returned on the main thread, a cleared
    // or replaced handler is never called again. Deliveries hold the slot,
    // not the kit, so a kit may go while some are queued.
    eventForwarding_ = widgetViewModel_->events.sink(
        [slot = handlerSlot_, queue = platform_.mainQueue](const SelectorEvent& event) {
            if (!slot->current()) return;
            queue->async([slot, event] {
                if (auto handler = slot->current()) (*handler)(event);
            });
        });
}

void Kit::bankList(std::string_view paymentURL, DispatchQueuePtr receivOn,
                   std::function<void(const BankListReport&)> completion) {
    std::optional<boost::urls::url> parsed;
    auto accepted = acceptPaymentLink(paymentURL, &parsed);
    if (!accepted) {
        if (!parsed) {
            debugLine("bank list fetching failed, invalid paymentURL: " + std::string(paymentURL));
        }
        throw std::system_error(make_error_code(VelaWidgetError::invalidURLString));
    }
    if (!receivOn) throw std::invalid_argument("bankList: receivOn must not be null");
    if (!completion) throw std::invalid_argument("bankList: completion must not be empty");

    storage_.fetchBankList(
        accepted->schema, Storage::Consumer::query,
        std::function<void(Storage::FetchResult, const Storage::Details&)>(
            [url = std::move(accepted->url), receivOn = std::move(receivOn),
             completion = std::move(completion)](Storage::FetchResult outcome,
                                                 const Storage::Details& details) {
                receivOn->async([completion, report = deliver(url, std::move(outcome), details)] {
                    completion(report);
                });
            }));
}

bool Kit::recordChosenBank(const VelaWidgetBank& bank) {
    auto logo = bank.logoURL();
    if (!logo) return false;
    platform_.mainQueue->async(
        [storage = storage_, logo = std::move(*logo)] { storage.updateLastUsedBank(logo); });
    return true;
}

void Kit::setEventHandler(SelectorEventHandler handler) {
    auto shared =
        handler ? std::make_shared<const SelectorEventHandler>(std::move(handler)) : nullptr;
    const std::lock_guard lock(handlerSlot_->lock);
    handlerSlot_->handler = std::move(shared);
}

SelectorPresenter& Kit::presenter() {
    if (!presenter_) {
        if (!frontEnd_) {
            throw std::logic_error(
                "VelaWidget: the selector calls need a selector front end; link VelaWidget::quick "
                "and include <velawidget/quick.h>");
        }
        presenter_ = frontEnd_(selectorServices());
    }
    return *presenter_;
}

void Kit::prepareWidgetViewModel(std::string_view paymentURL) {
    if (!widgetViewModel_->prepare(paymentURL)) {
        throw std::system_error(make_error_code(VelaWidgetError::invalidURLString));
    }
}

std::unique_ptr<BankSelectorController> Kit::bankListViewController(
    std::string_view paymentURL, SelectorResultHandler onResult) {
    auto& front = presenter();
    prepareWidgetViewModel(paymentURL);
    return front.makeSelector(std::move(onResult));
}

void Kit::presentBankListViewController(std::string_view paymentURL, HostWindow parent,
                                        SelectorResultHandler onResult) {
    // A missing parent is the caller's mistake, not a presentation the
    // platform refused; found before the link starts a download.
    if (!parent) {
        throw std::invalid_argument("presentBankListViewController: parent window is null");
    }
    auto& front = presenter();
    front.present(bankListViewController(paymentURL, std::move(onResult)), parent);
}

void Kit::showBankSelector(std::string_view paymentURL, SelectorResultHandler onResult) {
    // The window comes before the link: without one, even a bad link reports
    // that nothing could be presented.
    const HostWindow host = presenter().firstHostWindow();
    if (!host) throw std::system_error(make_error_code(VelaWidgetError::presentationFailed));
    presentBankListViewController(paymentURL, host, std::move(onResult));
}

}  // namespace velawidget
