#pragma once

#include <velawidget/BankListReport.h>
#include <velawidget/BankListResult.h>
#include <velawidget/BankSelectorController.h>
#include <velawidget/SelectorEvents.h>
#include <velawidget/export.h>
#include <velawidget/platform.h>
#include <velawidget/platform/DispatchQueue.h>

#include <functional>
#include <memory>
#include <string_view>

namespace velawidget {

/// A window of the host's, as the selector front end's toolkit knows it. On
/// Qt Quick, make one from a `QWindow*` with `quick::hostWindow(window)`
/// (<velawidget/quick.h>); the front end reads it back as that type.
class HostWindow {
  public:
    HostWindow() noexcept = default;
    explicit HostWindow(void* toolkitWindow) noexcept : window_(toolkitWindow) {}

    void* get() const noexcept { return window_; }
    explicit operator bool() const noexcept { return window_ != nullptr; }

  private:
    void* window_ = nullptr;
};

/// The kit's entry object. Reach it only through `shared()`.
class VELAWIDGET_API VelaWidgetSDK {
  public:
    /// The one facade of the process, created on first use (thread-safe, no I/O).
    static VelaWidgetSDK& shared();

    VelaWidgetSDK(const VelaWidgetSDK&) = delete;
    VelaWidgetSDK& operator=(const VelaWidgetSDK&) = delete;
    virtual ~VelaWidgetSDK();

    /// Data-only query. Throws `std::system_error` with `invalidURLString` when
    /// the text is not a payment link (the completion is then never called).
    /// Otherwise returns at once and later submits exactly one call of
    /// `completion` to `receivOn`. Callable from any thread. A null `receivOn`
    /// or an empty `completion` is a programming error: `std::invalid_argument`
    /// (checked after the link, so a bad link still reports `invalidURLString`).
    void bankList(std::string_view paymentURL, DispatchQueuePtr receivOn,
                  std::function<void(BankListResult)> completion);
    /// The same query, the same checks and threading; the completion also
    /// learns why a download failed and whether the banks came from the
    /// cache (see `BankListReport`). Name the completion's parameter type
    /// (`const BankListReport&` or `BankListResult`): a generic lambda, or
    /// `{}`, fits both overloads.
    void bankList(std::string_view paymentURL, DispatchQueuePtr receivOn,
                  std::function<void(const BankListReport&)> completion);

    /// For hosts that draw their own list from `bankList`: records `bank` as
    /// the shopper's latest choice, in the file and by the rules the
    /// selector uses, so the selector's recent banks match. The write runs on
    /// the main queue, after the selector's own. Callable from any thread.
    /// Returns false, recording nothing, for a bank without a logo address:
    /// recent banks are kept by that address.
    bool recordChosenBank(const VelaWidgetBank& bank);

    /// Receives the events of every selector, in order, on the main queue
    /// and after the fact (see `SelectorEventKind`). Replaces the handler
    /// set before; an empty one stops the events. Callable from any thread.
    void setEventHandler(SelectorEventHandler handler);

    // Selector calls, served by the selector front end that the program
    // links (the Qt Quick module: link `VelaWidget::quick` and include
    // <velawidget/quick.h>). Without one they throw `std::logic_error`.
    // Main thread only.

    /// A new selector for the link. Throws `invalidURLString`.
    std::unique_ptr<BankSelectorController> bankListViewController(std::string_view paymentURL);
    /// The same, with `onResult` told how each showing of the selector ended
    /// (see `SelectorResult`), on the main queue after the window is hidden.
    std::unique_ptr<BankSelectorController> bankListViewController(std::string_view paymentURL,
                                                                   SelectorResultHandler onResult);
    /// The same as `bankListViewController`.
    std::unique_ptr<BankSelectorController> getBankSelector(std::string_view bankURLString);
    std::unique_ptr<BankSelectorController> getBankSelector(std::string_view bankURLString,
                                                            SelectorResultHandler onResult);
    /// Builds a selector and shows it over `parentViewController`, which then
    /// owns it: a dialog transient for the parent's top-level window, modal to
    /// it and centred on it. Throws `std::invalid_argument` for a null parent
    /// (before any work), then `invalidURLString`.
    void presentBankListViewController(std::string_view paymentURL,
                                       HostWindow parentViewController);
    void presentBankListViewController(std::string_view paymentURL, HostWindow parentViewController,
                                       SelectorResultHandler onResult);
    /// Presents over the first top-level window the host made (the kit's own
    /// selector windows do not count). Throws
    /// `presentationFailed` when there is none (before the link is looked at),
    /// then `invalidURLString`.
    void showBankSelector(std::string_view bankURLString);
    void showBankSelector(std::string_view bankURLString, SelectorResultHandler onResult);

  private:
    struct Impl;
    // The kit's own front end reaches the facade's kit through it.
    friend class Kit& sharedKit();
    explicit VelaWidgetSDK(Platform services);
    std::unique_ptr<Impl> impl_;
};

}  // namespace velawidget
