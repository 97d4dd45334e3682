#pragma once

#include <velawidget/SelectorEvents.h>
#include <velawidget/platform/Scheduler.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/BankListDocument.h"
#include "core/Observable.h"
#include "core/Texts.h"
#include "selection/BankListCellViewModel.h"
#include "selection/NameFolding.h"

namespace velawidget {

/// The state of the searchable bank list: all banks of the current link
/// kind, the search text, the rows matching it, the message shown instead of
/// rows, and the bank of the last tap. Main thread only.
class BankListViewModel : public ObservableObject {
  public:
    /// How long the search text is throttled before the rows follow it.
    static constexpr std::chrono::milliseconds searchThrottle{500};

    /// `mainScheduler` runs the search throttle.
    BankListViewModel(SchedulerPtr mainScheduler, std::shared_ptr<const FixedTexts> texts);

    /// The five rows drawn as skeletons until real banks arrive.
    static std::vector<Bank> loadingPlaceholders();

    const std::vector<Bank>& banks() const { return banks_; }
    const FixedTexts& texts() const { return *texts_; }
    /// Texts of another language from now on; a message already shown keeps
    /// its words until it changes.
    void setTexts(std::shared_ptr<const FixedTexts> texts) { texts_ = std::move(texts); }

    Published<std::vector<BankListCellViewModel>> cellModels;
    Published<std::optional<Bank>> selectedBank;
    Published<std::string> searchingBarViewInput;
    Published<std::optional<std::string>> errorMessage;
    /// True from a failed download of the list until new banks arrive. The
    /// failure's message then stays whatever is typed: rows filtered out of
    /// the placeholders or of an older list would never finish loading.
    Published<bool> loadFailed;
    /// True while the rows come from the cache after a failed download.
    Published<bool> mayBeOutdated;
    /// True from a rejected payment link until a valid one is prepared: no
    /// rows, whatever arrives or is typed, and the message says why.
    Published<bool> linkRejected;
    /// One `search` event each time the rows follow a typed (not blank) text.
    PassthroughSubject<SelectorEvent> events;

    /// Shows `newBanks` that match the search text (the loading placeholders
    /// all) and ends a failure. `outdated`: they were read from the cache
    /// because the download failed.
    void updateBanks(std::vector<Bank> newBanks, bool outdated = false);
    /// Shows `message` instead of the rows until new banks arrive.
    void showLoadFailure(std::string message);
    /// Takes every row away and shows `message` instead until
    /// `acceptLink()`: no bank of the earlier link stays within reach.
    void rejectLink(std::string message);
    /// Brings the rows back after a rejected link (the banks kept, filtered
    /// by the search text); nothing when no link was rejected.
    void acceptLink();
    /// A new showing: an empty search, and all rows at once rather than after
    /// the throttle, so the field and the list agree from the first frame.
    void clearSearch();
    /// Selects the first bank whose logo address is the cell's (absent when
    /// none is, and while a link is rejected).
    void selectBank(const BankListCellViewModel& cell);

  private:
    void filterBanks(const std::string& text);
    /// The rows for `text`: every one when it is blank.
    std::vector<BankListCellViewModel> matchingCells(const std::string& text);

    std::shared_ptr<const FixedTexts> texts_;
    std::vector<Bank> banks_;
    // Both follow `banks_`, so a keystroke neither folds nor parses a bank
    // again. The names are folded at the first search rather than with the
    // banks, so a screen opening on a long list does not wait for them.
    std::optional<FoldedNames> foldedNames_;
    std::vector<BankListCellViewModel> allCells_;
    SubscriptionSet subscriptions_;
};

}  // namespace velawidget
