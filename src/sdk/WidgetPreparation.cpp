#include "sdk/WidgetPreparation.h"

#include <optional>
#include <string>
#include <utility>

#include "catalogue/PaymentLink.h"
#include "platform/Debug.h"

namespace velawidget {

bool prepareWidgetViewModel(WidgetViewModel& model, std::string_view paymentURL) {
    std::optional<boost::urls::url> parsed;
    auto accepted = acceptPaymentLink(paymentURL, &parsed);
    if (!parsed) {
        debugLine("preparing widget view model failed, invalid paymentURL: " +
                  std::string(paymentURL));
    }
    if (!accepted) return false;
    model.setPaymentURL(std::move(accepted->url));
    model.setSchema(accepted->schema);
    return true;
}

}  // namespace velawidget
