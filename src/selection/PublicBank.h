#pragma once

#include <velawidget/VelaWidgetBank.h>

#include <boost/url/url_view.hpp>

#include "catalogue/BankListDocument.h"

namespace velawidget {

/// `bank` as hosts see it, with the link that opens `paymentURL` in its app
/// or web client; null when no link can be built for it.
VelaWidgetBankPtr publicBank(boost::urls::url_view paymentURL, const Bank& bank);

}  // namespace velawidget
