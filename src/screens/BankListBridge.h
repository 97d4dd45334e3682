#pragma once

#include <QtQml/qqmlregistration.h>

#include <QObject>
#include <QString>
#include <memory>

#include "core/Observable.h"
#include "core/Texts.h"
#include "screens/BankListModel.h"
#include "selection/BankListViewModel.h"

namespace velawidget {

/// The bank list view model as QML sees it: the rows, the message shown
/// instead of them, and the search text, each following the model's
/// published value, plus the tap that goes back to the model.
class BankListBridge : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Reached through WidgetViewBridge.bankList")
    Q_PROPERTY(velawidget::BankListModel* rows READ rows CONSTANT FINAL)
    Q_PROPERTY(
        QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged FINAL)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged FINAL)
    Q_PROPERTY(bool hasErrorMessage READ hasErrorMessage NOTIFY errorMessageChanged FINAL)
    Q_PROPERTY(QString searchPlaceholder READ searchPlaceholder NOTIFY textsChanged FINAL)
    Q_PROPERTY(bool loadFailed READ loadFailed NOTIFY loadFailedChanged FINAL)
    Q_PROPERTY(bool mayBeOutdated READ mayBeOutdated NOTIFY mayBeOutdatedChanged FINAL)
    Q_PROPERTY(QString outdatedNotice READ outdatedNotice NOTIFY textsChanged FINAL)
    Q_PROPERTY(QString listName READ listName NOTIFY textsChanged FINAL)
    Q_PROPERTY(QString retryLabel READ retryLabel NOTIFY textsChanged FINAL)
    Q_PROPERTY(QString searchResult READ searchResult NOTIFY searchResultChanged FINAL)

  public:
    BankListBridge(std::shared_ptr<BankListViewModel> model, QObject* parent = nullptr);
    ~BankListBridge() override;

    BankListModel* rows() { return &rows_; }
    QString searchText() const { return searchText_; }
    void setSearchText(const QString& text);
    QString errorMessage() const { return errorMessage_.value_or(QString()); }
    bool hasErrorMessage() const { return errorMessage_.has_value(); }
    QString searchPlaceholder() const { return text(FixedText::searchPlaceholderText); }
    bool loadFailed() const { return loadFailed_; }
    QString listName() const { return text(FixedText::bankListName); }
    QString retryLabel() const { return text(FixedText::retry); }
    QString outdatedNotice() const { return text(FixedText::outdatedListNotice); }
    bool mayBeOutdated() const { return mayBeOutdated_; }
    /// What the rows show once they have followed a typed text, for screen
    /// readers: how many banks were found, or the message shown instead of
    /// them. Empty while nothing is typed; kept while the rows are loading.
    QString searchResult() const { return searchResult_; }

    /// A tap on the row at `row`: hands that row's cell to the model.
    Q_INVOKABLE void selectRow(int row);

    BankListViewModel& model() { return *model_; }

  Q_SIGNALS:
    void searchTextChanged();
    void errorMessageChanged();
    void loadFailedChanged();
    void mayBeOutdatedChanged();
    void searchResultChanged();
    /// The texts are in another language now (told by the widget's bridge).
    void textsChanged();

  private:
    QString text(FixedText which) const {
        return QString::fromStdString(model_->texts().get(which));
    }
    void noteSearchResult();
    void setSearchResult(const QString& result);

    std::shared_ptr<BankListViewModel> model_;
    BankListModel rows_;
    QString searchText_;
    std::optional<QString> errorMessage_;
    bool loadFailed_ = false;
    bool mayBeOutdated_ = false;
    QString searchResult_;
    // Last, so the handlers are gone before the members they write.
    SubscriptionSet subscriptions_;
};

}  // namespace velawidget
