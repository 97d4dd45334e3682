#include "screens/BankListBridge.h"

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
    }));
}

BankListBridge::~BankListBridge() = default;

void BankListBridge::setSearchText(const QString& text) {
    // Every edit is an assignment, equal text included: the model decides what follows.
    model_->searchingBarViewInput = text.toStdString();
}

void BankListBridge::selectRow(int row) {
    const auto& cells = rows_.cells();
    if (row < 0 || static_cast<std::size_t>(row) >= cells.size()) return;
    // A copy: the selection may lead to new rows before the call returns.
    const auto cell = cells[static_cast<std::size_t>(row)];
    model_->selectBank(cell);
}

}  // namespace velawidget
