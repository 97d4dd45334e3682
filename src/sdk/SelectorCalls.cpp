#include <velawidget/VelaWidgetError.h>
#include <velawidget/VelaWidgetSDK.h>

#include <stdexcept>
#include <system_error>
#include <utility>

#include "sdk/FacadeImpl.h"

namespace velawidget {

std::unique_ptr<BankSelectorController> VelaWidgetSDK::bankListViewController(
    std::string_view paymentURL) {
    return bankListViewController(paymentURL, {});
}

std::unique_ptr<BankSelectorController> VelaWidgetSDK::bankListViewController(
    std::string_view paymentURL, SelectorResultHandler onResult) {
    auto& front = impl_->presenter();
    impl_->prepareWidgetViewModel(paymentURL);
    return front.makeSelector(impl_->selectorServices(), std::move(onResult));
}

std::unique_ptr<BankSelectorController> VelaWidgetSDK::getBankSelector(
    std::string_view bankURLString) {
    return bankListViewController(bankURLString, {});
}

std::unique_ptr<BankSelectorController> VelaWidgetSDK::getBankSelector(
    std::string_view bankURLString, SelectorResultHandler onResult) {
    return bankListViewController(bankURLString, std::move(onResult));
}

void VelaWidgetSDK::presentBankListViewController(std::string_view paymentURL,
                                                  HostWindow parentViewController) {
    presentBankListViewController(paymentURL, parentViewController, {});
}

void VelaWidgetSDK::presentBankListViewController(std::string_view paymentURL,
                                                  HostWindow parentViewController,
                                                  SelectorResultHandler onResult) {
    // A missing parent is the caller's mistake, not a presentation the
    // platform refused; found before the link starts a download.
    if (!parentViewController) {
        throw std::invalid_argument("presentBankListViewController: parent window is null");
    }
    auto& front = impl_->presenter();
    front.present(bankListViewController(paymentURL, std::move(onResult)), parentViewController);
}

void VelaWidgetSDK::showBankSelector(std::string_view bankURLString) {
    showBankSelector(bankURLString, {});
}

void VelaWidgetSDK::showBankSelector(std::string_view bankURLString,
                                     SelectorResultHandler onResult) {
    // The window comes before the link: without one, even a bad link reports
    // that nothing could be presented.
    const HostWindow host = impl_->presenter().firstHostWindow();
    if (!host) throw std::system_error(make_error_code(VelaWidgetError::presentationFailed));
    presentBankListViewController(bankURLString, host, std::move(onResult));
}

}  // namespace velawidget
