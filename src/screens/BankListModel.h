#pragma once

#include <QtQml/qqmlregistration.h>

#include <QAbstractListModel>
#include <QByteArray>
#include <QHash>
#include <QString>
#include <vector>

#include "selection/BankListCellViewModel.h"

namespace velawidget {

/// The rows of the bank list for a QML ListView. A new set of cells is
/// applied as removals, moves and insertions keyed by the cell's `id()`, so
/// a row whose id survives keeps its delegate (and the delegate's logo tile).
class BankListModel : public QAbstractListModel {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(int count READ count NOTIFY countChanged FINAL)

  public:
    enum Role {
        NameRole = Qt::UserRole + 1,
        LogoURLRole,
        RowIdRole,
        PlaceholderRole,
    };
    Q_ENUM(Role)

    explicit BankListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    int count() const { return static_cast<int>(cells_.size()); }
    const std::vector<BankListCellViewModel>& cells() const { return cells_; }

    /// Makes the rows equal to `cells`, in order, touching only what changed.
    void setCells(const std::vector<BankListCellViewModel>& cells);

    /// The loading rows carry this text in their names.
    static bool isPlaceholderName(const std::string& name);

  Q_SIGNALS:
    void countChanged();
    /// After a `setCells` that changed anything, once every row is in place.
    void rowsReplaced();

  private:
    std::vector<BankListCellViewModel> cells_;
    std::vector<std::string> ids_;
};

}  // namespace velawidget
