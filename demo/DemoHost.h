#pragma once

#include <QtQml/qqmlregistration.h>

#include <QObject>
#include <QString>
#include <QVariantList>
#include <memory>
#include <vector>

namespace velawidget {
class BankSelectorController;
class VelaWidgetBank;
}  // namespace velawidget

namespace vela::demo {

/// What the demo's window asks of the kit: the selector in the two ways a
/// host gets it, and the data-only query.
class DemoHost : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Provided by the demo")
    Q_PROPERTY(QVariantList banks READ banks NOTIFY banksChanged)
    Q_PROPERTY(QString status READ status NOTIFY statusChanged)
    Q_PROPERTY(QString qrSample READ qrSample CONSTANT)
    Q_PROPERTY(QString subSample READ subSample CONSTANT)

  public:
    explicit DemoHost(QObject* parent = nullptr);
    ~DemoHost() override;

    QVariantList banks() const { return banks_; }
    QString status() const { return status_; }
    static QString qrSample();
    static QString subSample();

    /// "Choose bank": the host takes the controller and shows it.
    Q_INVOKABLE void chooseBank(const QString& link);
    /// "Show selector in window": the kit presents over the first window.
    Q_INVOKABLE void showSelector(const QString& link);
    /// "List banks": the data-only query; the result lands in `banks`.
    Q_INVOKABLE void listBanks(const QString& link);
    /// A row of the data-only table chosen: recorded as the selector records
    /// a tapped bank, so both show it first next time.
    Q_INVOKABLE void recordChosen(int row);
    /// The language menu: the selector's texts and direction, at run time.
    Q_INVOKABLE void setLocale(const QString& name);

  Q_SIGNALS:
    void banksChanged();
    void statusChanged();
    /// The data-only query answered (with banks or an error).
    void listed();

  private:
    void setStatus(const QString& status);

    QVariantList banks_;
    std::vector<std::shared_ptr<const velawidget::VelaWidgetBank>> records_;
    QString status_;
    std::vector<std::unique_ptr<velawidget::BankSelectorController>> selectors_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace vela::demo
