#include "screens/BankListModel.h"

#include <algorithm>
#include <cstddef>
#include <map>

namespace velawidget {

BankListModel::BankListModel(QObject* parent) : QAbstractListModel(parent) {}

int BankListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant BankListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= count()) return {};
    const auto& cell = cells_[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
        case NameRole:
            return QString::fromStdString(cell.name);
        case LogoURLRole:
            return cell.logoURL ? QString::fromStdString(*cell.logoURL) : QString();
        case RowIdRole:
            return QString::fromStdString(ids_[static_cast<std::size_t>(index.row())]);
        case PlaceholderRole:
            return isPlaceholderName(cell.name);
        default:
            return {};
    }
}

QHash<int, QByteArray> BankListModel::roleNames() const {
    return {{NameRole, "name"},
            {LogoURLRole, "logoURL"},
            {RowIdRole, "rowId"},
            {PlaceholderRole, "placeholder"}};
}

bool BankListModel::isPlaceholderName(const std::string& name) {
    return name.find("placholder") != std::string::npos;
}

void BankListModel::setCells(const std::vector<BankListCellViewModel>& cells) {
    const int before = count();
    bool changed = false;
    std::vector<std::string> newIds;
    newIds.reserve(cells.size());
    for (const auto& cell : cells) newIds.push_back(cell.id());

    // A first fill has nothing to keep: one insertion, without the matching
    // below, so a screen opening on a long list gets its rows at once.
    if (ids_.empty() && !cells.empty()) {
        beginInsertRows({}, 0, static_cast<int>(cells.size()) - 1);
        cells_ = cells;
        ids_ = std::move(newIds);
        endInsertRows();
        Q_EMIT countChanged();
        Q_EMIT rowsReplaced();
        return;
    }

    // Rows are kept per id as often as the new list holds that id (ids may
    // repeat); the first occurrences survive, the rest go.
    std::map<std::string, std::size_t> wanted;
    for (const auto& id : newIds) ++wanted[id];
    std::map<std::string, std::size_t> kept;
    std::vector<bool> keep(ids_.size());
    for (std::size_t i = 0; i < ids_.size(); ++i) {
        auto it = wanted.find(ids_[i]);
        keep[i] = it != wanted.end() && kept[ids_[i]]++ < it->second;
    }
    // Removal from the end, one contiguous run at a time, so indexes stay valid.
    for (std::size_t end = ids_.size(); end > 0;) {
        if (keep[end - 1]) {
            --end;
            continue;
        }
        std::size_t first = end - 1;
        while (first > 0 && !keep[first - 1]) --first;
        beginRemoveRows({}, static_cast<int>(first), static_cast<int>(end - 1));
        cells_.erase(cells_.begin() + static_cast<std::ptrdiff_t>(first),
                     cells_.begin() + static_cast<std::ptrdiff_t>(end));
        ids_.erase(ids_.begin() + static_cast<std::ptrdiff_t>(first),
                   ids_.begin() + static_cast<std::ptrdiff_t>(end));
        endRemoveRows();
        changed = true;
        end = first;
    }

    // Every row left is wanted; walk the new order, moving survivors into
    // place and inserting the rest in runs. Afterwards the rows equal the new list.
    std::map<std::string, std::size_t> unplaced;
    for (const auto& id : ids_) ++unplaced[id];
    for (std::size_t i = 0; i < newIds.size();) {
        const int row = static_cast<int>(i);
        auto left = unplaced.find(newIds[i]);
        if (left == unplaced.end() || left->second == 0) {
            std::size_t runEnd = i + 1;
            while (runEnd < newIds.size()) {
                auto next = unplaced.find(newIds[runEnd]);
                if (next != unplaced.end() && next->second > 0) break;
                ++runEnd;
            }
            beginInsertRows({}, row, static_cast<int>(runEnd - 1));
            cells_.insert(cells_.begin() + row, cells.begin() + static_cast<std::ptrdiff_t>(i),
                          cells.begin() + static_cast<std::ptrdiff_t>(runEnd));
            ids_.insert(ids_.begin() + row, newIds.begin() + static_cast<std::ptrdiff_t>(i),
                        newIds.begin() + static_cast<std::ptrdiff_t>(runEnd));
            endInsertRows();
            changed = true;
            i = runEnd;
            continue;
        }
        --left->second;
        if (ids_[i] != newIds[i]) {
            const auto found =
                std::find(ids_.begin() + static_cast<std::ptrdiff_t>(i), ids_.end(), newIds[i]);
            const int from = static_cast<int>(found - ids_.begin());
            beginMoveRows({}, from, from, {}, row);
            auto cell = std::move(cells_[static_cast<std::size_t>(from)]);
            auto id = std::move(ids_[static_cast<std::size_t>(from)]);
            cells_.erase(cells_.begin() + from);
            ids_.erase(ids_.begin() + from);
            cells_.insert(cells_.begin() + row, std::move(cell));
            ids_.insert(ids_.begin() + row, std::move(id));
            endMoveRows();
            changed = true;
        }
        if (cells_[i].name != cells[i].name || cells_[i].logoURL != cells[i].logoURL) {
            cells_[i] = cells[i];
            Q_EMIT dataChanged(index(row), index(row));
            changed = true;
        }
        ++i;
    }
    if (count() != before) Q_EMIT countChanged();
    if (changed) Q_EMIT rowsReplaced();
}

}  // namespace velawidget
