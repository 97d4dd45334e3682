#include "selection/BankListCellViewModel.h"

#include "catalogue/LogoAddress.h"

namespace velawidget {

BankListCellViewModel BankListCellViewModel::fromBank(const Bank& bank) {
    return {bank.bankName, logoAddress(bank.logoURL)};
}

}  // namespace velawidget
