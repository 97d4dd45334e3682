#include <velawidget/LoadFailure.h>

namespace velawidget {

std::string_view toString(LoadFailureCause cause) noexcept {
    switch (cause) {
        case LoadFailureCause::none:
            return "none";
        case LoadFailureCause::noHttpClient:
            return "noHttpClient";
        case LoadFailureCause::offline:
            return "offline";
        case LoadFailureCause::dnsLookup:
            return "dnsLookup";
        case LoadFailureCause::connect:
            return "connect";
        case LoadFailureCause::tls:
            return "tls";
        case LoadFailureCause::timeout:
            return "timeout";
        case LoadFailureCause::httpStatus:
            return "httpStatus";
        case LoadFailureCause::bodyTooLarge:
            return "bodyTooLarge";
        case LoadFailureCause::malformedDocument:
            return "malformedDocument";
        case LoadFailureCause::transport:
            return "transport";
    }
    return "unknown";
}

std::string_view describe(LoadFailureCause cause) noexcept {
    switch (cause) {
        case LoadFailureCause::none:
            return "The bank list was downloaded.";
        case LoadFailureCause::noHttpClient:
            return "No HTTP client is installed, so the bank list was not requested; link "
                   "VelaWidget::curl or install a platform with an HTTP client.";
        case LoadFailureCause::offline:
            return "The device has no network connection.";
        case LoadFailureCause::dnsLookup:
            return "The payment system's host name could not be resolved.";
        case LoadFailureCause::connect:
            return "The payment system's server could not be reached.";
        case LoadFailureCause::tls:
            return "The secure connection to the payment system failed or its certificate is "
                   "not trusted.";
        case LoadFailureCause::timeout:
            return "The payment system's server did not answer in time.";
        case LoadFailureCause::httpStatus:
            return "The payment system's server answered with an error status instead of the "
                   "bank list.";
        case LoadFailureCause::bodyTooLarge:
            return "The payment system's answer was larger than the kit accepts.";
        case LoadFailureCause::malformedDocument:
            return "The payment system's answer was not a valid bank list.";
        case LoadFailureCause::transport:
            return "The transfer of the bank list broke off or could not be decoded.";
    }
    return "The bank list could not be obtained for an unknown reason.";
}

}  // namespace velawidget
