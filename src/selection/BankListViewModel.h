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
    /// One `search` event each time the rows follow a typed (not blank) text.
    PassthroughSubject<SelectorEvent> events;

    /// Shows every one of `newBanks` and ends a failure; the search text
    /// applies again at its next change. `outdated`: they were read from the
    /// cache because the download failed.
    void updateBanks(std::vector<Bank> newBanks, bool outdated = false);
    /// Shows `message` instead of the rows until new banks arrive.
    void showLoadFailure(std::string message);
    /// Selects the first bank whose logo address is the cell's (absent when none is).
    void selectBank(const BankListCellViewModel& cell);

  private:
    void filterBanks(const std::string& text);

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
