#include "selection/PublicBank.h"

#include <string>

#include "catalogue/LogoAddress.h"
#include "selection/BankFactory.h"
#include "selection/BankLink.h"

namespace velawidget {

VelaWidgetBankPtr publicBank(boost::urls::url_view paymentURL, const Bank& bank) {
    auto link = makeBankLink(paymentURL, bank);
    if (!link) return nullptr;
    return detail::BankFactory::make(bank.bankName, logoAddress(bank.logoURL),
                                     std::string(link->buffer()));
}

}  // namespace velawidget
