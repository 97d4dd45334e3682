#include "selection/BankListViewModel.h"

#include <utility>

#include "catalogue/GraphemeCount.h"
#include "core/Debug.h"

namespace velawidget {
namespace {

std::vector<BankListCellViewModel> cellsOf(const std::vector<Bank>& banks) {
    std::vector<BankListCellViewModel> cells;
    cells.reserve(banks.size());
    for (const auto& bank : banks) cells.push_back(BankListCellViewModel::fromBank(bank));
    return cells;
}

}  // namespace

std::vector<Bank> BankListViewModel::loadingPlaceholders() {
    // The list recognises skeleton rows by "placholder" in the name; the last
    // one really is numbered 5.
    std::vector<Bank> placeholders;
    for (const char* name :
         {"placholder_0", "placholder_1", "placholder_2", "placholder_3", "placholder_5"}) {
        placeholders.push_back(Bank{name, "", "qr", std::string(), std::nullopt});
    }
    return placeholders;
}

BankListViewModel::BankListViewModel(SchedulerPtr mainScheduler,
                                     std::shared_ptr<const FixedTexts> texts)
    // The placeholder rows are there from the start, so a screen's first frame
    // shows them rather than an empty list waiting for the throttle's timer.
    : cellModels(*this, cellsOf(loadingPlaceholders())),
      selectedBank(*this, std::nullopt),
      searchingBarViewInput(*this, std::string()),
      errorMessage(*this, std::nullopt),
      loadFailed(*this, false),
      mayBeOutdated(*this, false),
      linkRejected(*this, false),
      texts_(std::move(texts)),
      banks_(loadingPlaceholders()),
      allCells_(cellModels.value()) {
    // The message follows every assignment of the rows, whoever makes it,
    // except that a failed download's message outlasts any search.
    subscriptions_.push_back(
        cellModels.sink([this](const std::vector<BankListCellViewModel>& cells) {
            if (loadFailed.value() || linkRejected.value()) return;
            if (cells.empty()) {
                errorMessage = texts_->get(FixedText::emptyText);
            } else {
                errorMessage = std::nullopt;
            }
        }));
    // The current (empty) text is delivered too, filtering nothing out.
    auto throttled = throttle<std::string>(searchThrottle, std::move(mainScheduler),
                                           /*latest=*/true,
                                           [this](const std::string& text) { filterBanks(text); });
    subscriptions_.push_back(std::move(throttled.timer));
    subscriptions_.push_back(searchingBarViewInput.sink(std::move(throttled.input)));
}

void BankListViewModel::updateBanks(std::vector<Bank> newBanks, bool outdated) {
    if (mayBeOutdated.value() != outdated) mayBeOutdated = outdated;
    // A selector opened again reads the same cached list: comparing it is far
    // cheaper than checking every logo address again for the same rows.
    if (newBanks != banks_) {
        banks_ = std::move(newBanks);
        foldedNames_.reset();
        allCells_ = cellsOf(banks_);
    }
    if (loadFailed.value()) loadFailed = false;
    if (linkRejected.value()) return;
    // The field keeps its text, so the rows follow it rather than showing
    // every bank under a search they do not match; skeletons are no banks.
    static const auto placeholders = loadingPlaceholders();
    cellModels = banks_ == placeholders ? allCells_ : matchingCells(searchingBarViewInput.value());
}

void BankListViewModel::rejectLink(std::string message) {
    if (mayBeOutdated.value()) mayBeOutdated = false;
    if (loadFailed.value()) loadFailed = false;
    linkRejected = true;
    cellModels = {};
    errorMessage = std::move(message);
}

void BankListViewModel::acceptLink() {
    if (!linkRejected.value()) return;
    linkRejected = false;
    cellModels = matchingCells(searchingBarViewInput.value());
}

void BankListViewModel::clearSearch() {
    if (searchingBarViewInput.value().empty()) return;
    searchingBarViewInput = std::string();
    if (!linkRejected.value()) cellModels = allCells_;
}

void BankListViewModel::showLoadFailure(std::string message) {
    if (mayBeOutdated.value()) mayBeOutdated = false;
    loadFailed = true;
    errorMessage = std::move(message);
}

void BankListViewModel::selectBank(const BankListCellViewModel& cell) {
    if (linkRejected.value()) return;
    debugLine("did select bank " + cell.name);
    std::optional<Bank> found;
    if (cell.logoURL) {
        for (const auto& bank : banks_) {
            if (bank.logoURL == *cell.logoURL) {
                found = bank;
                break;
            }
        }
    }
    selectedBank = std::move(found);
}

void BankListViewModel::filterBanks(const std::string& text) {
    if (linkRejected.value()) return;
    cellModels = matchingCells(text);
    if (isBlank(text)) return;
    SelectorEvent searched(SelectorEventKind::search);
    searched.count = cellModels.value().size();
    // Analytics learn how long the text was, never what it said.
    searched.textLength = graphemeCount(text, text.size()).value_or(text.size());
    events.send(searched);
}

std::vector<BankListCellViewModel> BankListViewModel::matchingCells(const std::string& text) {
    if (isBlank(text)) return allCells_;
    if (!foldedNames_) foldedNames_.emplace(banks_);
    const auto kept = foldedNames_->matching(text);
    std::vector<BankListCellViewModel> cells;
    cells.reserve(kept.size());
    for (const auto index : kept) cells.push_back(allCells_[index]);
    return cells;
}

}  // namespace velawidget
