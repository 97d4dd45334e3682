#pragma once

#include <velawidget/LoadFailure.h>
#include <velawidget/VelaWidgetBank.h>

#include <cstddef>
#include <functional>
#include <string_view>

namespace velawidget {

/// How one showing of a selector ended.
enum class SelectorOutcome {
    /// A bank was chosen and its app or web client opened; the selector closed itself.
    bankOpened,
    /// A bank was chosen but nothing on the system could open its link, and
    /// the shopper then closed the selector without opening another one.
    bankNotOpened,
    /// Closed without a choice.
    cancelled,
    /// Closed while the bank list could not be obtained.
    loadFailed,
};

/// What a selector reports once each time it is shown, when it is hidden
/// again (by itself, by the shopper, by the host or by its destruction).
struct SelectorResult {
    SelectorOutcome outcome = SelectorOutcome::cancelled;
    /// The bank chosen last (`bankOpened`, `bankNotOpened`); null otherwise.
    /// Its `dboLink()` is the link that was opened or tried.
    VelaWidgetBankPtr bank;
    /// The link was the bank's web client rather than its app.
    bool webClient = false;
};

using SelectorResultHandler = std::function<void(const SelectorResult&)>;

/// What happened in a selector, for analytics.
enum class SelectorEventKind {
    opened,       ///< a selector was shown
    listShown,    ///< banks replaced the loading rows or an older list: `count`, `fromCache`
    search,       ///< the rows followed a typed text: `textLength`, `count` hits
    bankChosen,   ///< a bank was tapped and its link handed to the system: `bank`, `webClient`
    bankOpened,   ///< the system opened the chosen bank's link: `bank`, `webClient`
    appNotFound,  ///< nothing could open the chosen bank's link: `bank`, `webClient`
    loadFailed,   ///< the bank list could not be obtained: `cause`
    retry,        ///< the shopper asked to download the list again
    qrShown,      ///< the payment link was shown as a code to scan with a phone
    closed,       ///< a selector was hidden
};

/// One event. Fields a kind does not name stay at their defaults. The typed
/// search text itself is never reported.
struct SelectorEvent {
    explicit SelectorEvent(SelectorEventKind kind) noexcept : kind(kind) {}

    SelectorEventKind kind;
    /// Banks shown (`listShown`) or matching the search (`search`).
    std::size_t count = 0;
    /// User-perceived characters of the search text (`search`).
    std::size_t textLength = 0;
    /// The banks were read from the caches directory rather than downloaded (`listShown`).
    bool fromCache = false;
    VelaWidgetBankPtr bank;
    bool webClient = false;
    /// Why the download failed (`loadFailed`).
    LoadFailureCause cause = LoadFailureCause::none;
};

using SelectorEventHandler = std::function<void(const SelectorEvent&)>;

/// The event's kind as a plain word ("listShown"), for logs and QML.
VELAWIDGET_API std::string_view toString(SelectorEventKind kind) noexcept;
/// The outcome as a plain word ("bankOpened"), for logs and QML.
VELAWIDGET_API std::string_view toString(SelectorOutcome outcome) noexcept;

}  // namespace velawidget
