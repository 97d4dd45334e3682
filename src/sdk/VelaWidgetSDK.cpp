#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/platform.h>

#include <stdexcept>
#include <system_error>
#include <utility>
#include <vector>

#include "catalogue/PaymentLink.h"
#include "core/Debug.h"
#include "sdk/FacadeImpl.h"
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

VelaWidgetSDK& VelaWidgetSDK::shared() {
    // Never destroyed: the selector's models may outlive the end of main().
    // The one reader of the process-wide platform: everything below gets
    // its services from here. Creating them reads and writes nothing.
    static VelaWidgetSDK* const instance = new VelaWidgetSDK(currentPlatform());
    return *instance;
}

VelaWidgetSDK::VelaWidgetSDK(Platform services)
    : impl_(std::make_unique<Impl>(std::move(services))) {}

VelaWidgetSDK::~VelaWidgetSDK() = default;

void VelaWidgetSDK::bankList(std::string_view paymentURL, DispatchQueuePtr receivOn,
                             std::function<void(BankListResult)> completion) {
    // An empty completion stays empty, so the checks below report it in turn.
    std::function<void(const BankListReport&)> forward;
    if (completion) {
        forward = [completion = std::move(completion)](const BankListReport& report) {
            completion(report.result);
        };
    }
    bankList(paymentURL, std::move(receivOn), std::move(forward));
}

void VelaWidgetSDK::bankList(std::string_view paymentURL, DispatchQueuePtr receivOn,
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

    impl_->storage.fetchBankList(
        accepted->schema, /*reorderCachedList=*/false,
        std::function<void(Storage::FetchResult, const Storage::Details&)>(
            [url = std::move(accepted->url), receivOn = std::move(receivOn),
             completion = std::move(completion)](Storage::FetchResult outcome,
                                                 const Storage::Details& details) {
                receivOn->async([completion, report = deliver(url, std::move(outcome), details)] {
                    completion(report);
                });
            }));
}

bool VelaWidgetSDK::recordChosenBank(const VelaWidgetBank& bank) {
    auto logo = bank.logoURL();
    if (!logo) return false;
    impl_->services.mainQueue->async(
        [storage = impl_->storage, logo = std::move(*logo)] { storage.updateLastUsedBank(logo); });
    return true;
}

void VelaWidgetSDK::setEventHandler(SelectorEventHandler handler) {
    auto shared =
        handler ? std::make_shared<const SelectorEventHandler>(std::move(handler)) : nullptr;
    const std::lock_guard lock(impl_->eventHandlerLock);
    impl_->eventHandler = std::move(shared);
}

}  // namespace velawidget
