#include "screens/BankListBridge.h"

#include <velawidget/SelectorEvents.h>

#include <algorithm>
#include <cstddef>
#include <utility>

#include "core/Texts.h"

namespace velawidget {

BankListBridge::BankListBridge(std::shared_ptr<BankListViewModel> model, QObject* parent)
    : QObject(parent), model_(std::move(model)) {
    subscriptions_.push_back(model_->cellModels.sink(
        [this](const std::vector<BankListCellViewModel>& cells) { rows_.setCells(cells); }));
    subscriptions_.push_back(model_->errorMessage.sink([this](const auto& message) {
        std::optional<QString> text;
        if (message) text = QString::fromStdString(*message);
        if (text == errorMessage_) return;
        errorMessage_ = std::move(text);
        Q_EMIT errorMessageChanged();
    }));
    subscriptions_.push_back(model_->loadFailed.sink([this](bool failed) {
        if (failed == loadFailed_) return;
        loadFailed_ = failed;
        Q_EMIT loadFailedChanged();
    }));
    subscriptions_.push_back(model_->mayBeOutdated.sink([this](bool outdated) {
        if (outdated == mayBeOutdated_) return;
        mayBeOutdated_ = outdated;
        Q_EMIT mayBeOutdatedChanged();
    }));
    subscriptions_.push_back(model_->searchingBarViewInput.sink([this](const std::string& input) {
        const auto text = QString::fromStdString(input);
        if (text == searchText_) return;
        searchText_ = text;
        Q_EMIT searchTextChanged();
        // A search begun afresh is told of even when it finds what the last one did.
        if (text.isEmpty()) setSearchResult(QString());
    }));
    // The model reports each time the rows followed a typed text, after the
    // throttle; by then the rows and the message above are up to date.
    subscriptions_.push_back(model_->events.sink([this](const SelectorEvent& event) {
        if (event.kind == SelectorEventKind::search) noteSearchResult();
    }));
}

BankListBridge::~BankListBridge() = default;

void BankListBridge::setSearchText(const QString& text) {
    // Every edit is an assignment, equal text included: the model decides what follows.
    model_->searchingBarViewInput = text.toStdString();
}

void BankListBridge::noteSearchResult() {
    if (errorMessage_) {
        setSearchResult(*errorMessage_);
        return;
    }
    const auto& cells = rows_.cells();
    // Skeleton rows are no banks found; the count waits for the real ones.
    const bool loading = std::any_of(cells.begin(), cells.end(), [](const auto& cell) {
        return BankListModel::isPlaceholderName(cell.name);
    });
    if (loading) return;
    auto result = text(FixedText::searchResultCount);
    setSearchResult(result.replace(QStringLiteral("%1"), QString::number(cells.size())));
}

void BankListBridge::setSearchResult(const QString& result) {
    if (result == searchResult_) return;
    searchResult_ = result;
    Q_EMIT searchResultChanged();
}

void BankListBridge::selectRow(int row) {
    const auto& cells = rows_.cells();
    if (row < 0 || static_cast<std::size_t>(row) >= cells.size()) return;
    // A copy: the selection may lead to new rows before the call returns.
    const auto cell = cells[static_cast<std::size_t>(row)];
    model_->selectBank(cell);
}

}  // namespace velawidget
