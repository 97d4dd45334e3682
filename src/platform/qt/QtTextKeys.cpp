#include "platform/qt/QtTextKeys.h"

#include <QtGlobal>

namespace velawidget::quick {
namespace {

// The texts are looked up by key at run time, so lupdate learns the keys
// only from this list. The comments reach the translators as the meaning.
constexpr const char* keys[] = {
    //: Message in the bank list when no bank name contains the search text.
    QT_TRANSLATE_NOOP("VelaWidget", "LS.VelaWidget.emptyText"),
    //: Message in the bank list when the list of banks could not be downloaded
    //: and none was kept from before. The Retry button stands right below it.
    QT_TRANSLATE_NOOP("VelaWidget", "LS.VelaWidget.emptyBankListFetchingResult"),
    //: Placeholder of the search field above the bank list.
    QT_TRANSLATE_NOOP("VelaWidget", "LS.VelaWidget.searchPlaceholderText"),
    //: Title of the alert shown when the chosen bank's app could not be opened.
    QT_TRANSLATE_NOOP("VelaWidget", "LS.VelaWidget.error"),
    //: Message of the alert shown when the chosen bank's app could not be opened.
    QT_TRANSLATE_NOOP("VelaWidget", "LS.VelaWidget.openUrlError"),
    //: The one button of that alert; it closes the alert.
    QT_TRANSLATE_NOOP("VelaWidget", "LS.VelaWidget.ok"),
    //: Explanation under the logo for a one-off payment (QR link).
    QT_TRANSLATE_NOOP("VelaWidget", "LS.VelaWidget.qrDescriptionText"),
    //: Explanation under the logo for a subscription link.
    QT_TRANSLATE_NOOP("VelaWidget", "LS.VelaWidget.subDescriptionText"),
    //: Explanation under the logo when the kind of link is not known.
    QT_TRANSLATE_NOOP("VelaWidget", "LS.VelaWidget.DescriptionText"),
    //: Title of the selector's window, also its name for screen readers.
    QT_TRANSLATE_NOOP("VelaWidget", "LS.VelaWidget.selectorTitle"),
    //: Name of the bank list for screen readers.
    QT_TRANSLATE_NOOP("VelaWidget", "LS.VelaWidget.bankListName"),
    //: Button under the loading-failure message; downloads the bank list again.
    QT_TRANSLATE_NOOP("VelaWidget", "LS.VelaWidget.retry"),
    //: Button under the list and second button of the app-not-found alert;
    //: shows the payment as a QR code to scan with a phone. Also the title
    //: of that view.
    QT_TRANSLATE_NOOP("VelaWidget", "LS.VelaWidget.payWithPhone"),
    //: Line under the QR code.
    QT_TRANSLATE_NOOP("VelaWidget", "LS.VelaWidget.scanWithPhone"),
    //: Shown instead of the QR code when the payment link is too long for one.
    QT_TRANSLATE_NOOP("VelaWidget", "LS.VelaWidget.phoneCodeUnavailable"),
    //: Button of the QR view; goes back to the bank list.
    QT_TRANSLATE_NOOP("VelaWidget", "LS.VelaWidget.back"),
    //: Quiet line above the bank list when the list could not be downloaded
    //: and the one kept from before is shown.
    QT_TRANSLATE_NOOP("VelaWidget", "LS.VelaWidget.outdatedListNotice"),
    //: Shown instead of the bank list when the shop handed over a payment link
    //: that cannot be paid. The shopper cannot fix it; the shop must start the
    //: payment again.
    QT_TRANSLATE_NOOP("VelaWidget", "LS.VelaWidget.invalidPaymentLink"),
    //: Read out by screen readers once the bank list has followed the search
    //: text; never shown. %1 is the number of banks found, 1 or more, so the
    //: sentence must read right for any number (a label and the number).
    QT_TRANSLATE_NOOP("VelaWidget", "LS.VelaWidget.searchResultCount"),
};

}  // namespace

std::span<const char* const> kitTextKeys() noexcept {
    return keys;
}

}  // namespace velawidget::quick
