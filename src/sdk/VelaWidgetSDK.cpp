#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/platform.h>

#include <utility>

#include "sdk/Kit.h"

namespace velawidget {

// The facade is the process's one kit behind the public names.
struct VelaWidgetSDK::Impl {
    explicit Impl(Platform platform) : kit(std::move(platform)) {}
    Kit kit;
};

VelaWidgetSDK& VelaWidgetSDK::shared() {
    // Never destroyed: the selector's models may outlive the end of main().
    // The one reader of the process-wide platform: everything below gets
    // its services from here. Creating them reads and writes nothing.
    static VelaWidgetSDK* const instance = new VelaWidgetSDK(currentPlatform());
    return *instance;
}

Kit& sharedKit() {
    return VelaWidgetSDK::shared().impl_->kit;
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
    impl_->kit.bankList(paymentURL, std::move(receivOn), std::move(forward));
}

void VelaWidgetSDK::bankList(std::string_view paymentURL, DispatchQueuePtr receivOn,
                             std::function<void(const BankListReport&)> completion) {
    impl_->kit.bankList(paymentURL, std::move(receivOn), std::move(completion));
}

bool VelaWidgetSDK::recordChosenBank(const VelaWidgetBank& bank) {
    return impl_->kit.recordChosenBank(bank);
}

void VelaWidgetSDK::setEventHandler(SelectorEventHandler handler) {
    impl_->kit.setEventHandler(std::move(handler));
}

std::unique_ptr<BankSelectorController> VelaWidgetSDK::bankListViewController(
    std::string_view paymentURL) {
    return impl_->kit.bankListViewController(paymentURL, {});
}

std::unique_ptr<BankSelectorController> VelaWidgetSDK::bankListViewController(
    std::string_view paymentURL, SelectorResultHandler onResult) {
    return impl_->kit.bankListViewController(paymentURL, std::move(onResult));
}

std::unique_ptr<BankSelectorController> VelaWidgetSDK::getBankSelector(
    std::string_view bankURLString) {
    return impl_->kit.bankListViewController(bankURLString, {});
}

std::unique_ptr<BankSelectorController> VelaWidgetSDK::getBankSelector(
    std::string_view bankURLString, SelectorResultHandler onResult) {
    return impl_->kit.bankListViewController(bankURLString, std::move(onResult));
}

void VelaWidgetSDK::presentBankListViewController(std::string_view paymentURL,
                                                  HostWindow parentViewController) {
    impl_->kit.presentBankListViewController(paymentURL, parentViewController, {});
}

void VelaWidgetSDK::presentBankListViewController(std::string_view paymentURL,
                                                  HostWindow parentViewController,
                                                  SelectorResultHandler onResult) {
    impl_->kit.presentBankListViewController(paymentURL, parentViewController, std::move(onResult));
}

void VelaWidgetSDK::showBankSelector(std::string_view bankURLString) {
    impl_->kit.showBankSelector(bankURLString, {});
}

void VelaWidgetSDK::showBankSelector(std::string_view bankURLString,
                                     SelectorResultHandler onResult) {
    impl_->kit.showBankSelector(bankURLString, std::move(onResult));
}

}  // namespace velawidget
