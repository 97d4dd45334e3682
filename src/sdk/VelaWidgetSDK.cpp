#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/platform.h>

#include <stdexcept>
#include <system_error>
#include <utility>
#include <vector>

#include "catalogue/LogoAddress.h"
#include "catalogue/PaymentLink.h"
#include "core/Debug.h"
#include "sdk/BankFactory.h"
#include "sdk/FacadeImpl.h"
#include "selection/BankLink.h"

namespace velawidget {
namespace {

BankListResult deliver(const boost::urls::url& paymentURL, Storage::FetchResult outcome) {
    auto* banks = std::get_if<std::vector<Bank>>(&outcome);
    if (!banks) return VelaWidgetError::loadingFaild;
    std::vector<VelaWidgetBankPtr> result;
    result.reserve(banks->size());
    for (auto& bank : *banks) {
        auto link = makeBankLink(paymentURL, bank);
        if (!link) continue;
        result.push_back(detail::BankFactory::make(
            std::move(bank.bankName), logoAddress(bank.logoURL), std::string(link->buffer())));
    }
    return result;
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
        [url = std::move(accepted->url), receivOn = std::move(receivOn),
         completion = std::move(completion)](Storage::FetchResult outcome) {
            receivOn->async(
                [completion, result = deliver(url, std::move(outcome))] { completion(result); });
        });
}

}  // namespace velawidget
