#include "DemoHost.h"

#include <velawidget/platform.h>
#include <velawidget/quick.h>
#include <velawidget/quick/QtPlatform.h>
#include <velawidget/velawidget.h>

#include <QVariantMap>
#include <iostream>
#include <system_error>

namespace vela::demo {

namespace {
constexpr const char* paymentId = "VELATESTPAYMENTSTATIC00000000001";

std::string describe(const velawidget::VelaWidgetBankPtr& bank, bool webClient) {
    if (!bank) return {};
    return " " + bank->name() + (webClient ? " (web client)" : " (app)");
}
}  // namespace

DemoHost::DemoHost(QObject* parent) : QObject(parent) {
    // What an analytics host would send on; the demo writes it to its output.
    velawidget::VelaWidgetSDK::shared().setEventHandler([](const velawidget::SelectorEvent& event) {
        std::cout << "event: " << toString(event.kind);
        if (event.kind == velawidget::SelectorEventKind::search) {
            std::cout << " length " << event.textLength << ", " << event.count << " hits";
        } else if (event.kind == velawidget::SelectorEventKind::listShown) {
            std::cout << ' ' << event.count << " banks"
                      << (event.fromCache ? " from the cache" : "");
        }
        std::cout << describe(event.bank, event.webClient) << std::endl;
    });
}

DemoHost::~DemoHost() {
    *alive_ = false;
}

QString DemoHost::qrSample() {
    return QStringLiteral("https://qr.vela.example/") + QLatin1String(paymentId) +
           QStringLiteral("?type=02&bank=velabank-a1&sum=12500&cur=XTS&crc=5A2B");
}

QString DemoHost::subSample() {
    return QStringLiteral("https://sub.vela.example/") + QLatin1String(paymentId);
}

void DemoHost::setStatus(const QString& status) {
    status_ = status;
    Q_EMIT statusChanged();
}

void DemoHost::chooseBank(const QString& link) {
    try {
        auto selector = velawidget::VelaWidgetSDK::shared().bankListViewController(
            link.toStdString(), [this, alive = alive_](const velawidget::SelectorResult& result) {
                const auto line =
                    std::string(toString(result.outcome)) + describe(result.bank, result.webClient);
                std::cout << "result: " << line << std::endl;
                if (*alive)
                    setStatus(QStringLiteral("Selector closed: ") + QString::fromStdString(line));
            });
        selector->show();
        // The host owns what it was given; one screen at a time is enough here.
        selectors_.clear();
        selectors_.push_back(std::move(selector));
        setStatus(QStringLiteral("Selector shown"));
    } catch (const std::system_error& error) {
        setStatus(QString::fromStdString(error.code().message()));
    }
}

void DemoHost::showSelector(const QString& link) {
    try {
        velawidget::VelaWidgetSDK::shared().showBankSelector(link.toStdString());
        setStatus(QStringLiteral("Selector presented over the first window"));
    } catch (const std::system_error& error) {
        setStatus(QString::fromStdString(error.code().message()));
    }
}

void DemoHost::listBanks(const QString& link) {
    setStatus(QStringLiteral("Loading banks..."));
    try {
        velawidget::VelaWidgetSDK::shared().bankList(
            link.toStdString(), velawidget::currentPlatform().mainQueue,
            [this, alive = alive_](velawidget::BankListResult result) {
                if (!*alive) return;
                banks_.clear();
                records_.clear();
                if (!result) {
                    setStatus(QString::fromStdString(make_error_code(result.error()).message()));
                } else {
                    for (const auto& bank : result.value()) {
                        QVariantMap row;
                        row.insert(QStringLiteral("name"), QString::fromStdString(bank->name()));
                        row.insert(QStringLiteral("link"), QString::fromStdString(bank->dboLink()));
                        banks_.append(row);
                        records_.push_back(bank);
                    }
                    setStatus(QStringLiteral("%1 banks").arg(banks_.size()));
                }
                Q_EMIT banksChanged();
                Q_EMIT listed();
            });
    } catch (const std::system_error& error) {
        banks_.clear();
        Q_EMIT banksChanged();
        setStatus(QString::fromStdString(error.code().message()));
        Q_EMIT listed();
    }
}

void DemoHost::recordChosen(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= records_.size()) return;
    const auto& bank = *records_[static_cast<std::size_t>(row)];
    const bool kept = velawidget::VelaWidgetSDK::shared().recordChosenBank(bank);
    setStatus(QString::fromStdString(bank.name()) +
              (kept ? QStringLiteral(" recorded as chosen")
                    : QStringLiteral(" has no logo address to record")));
}

void DemoHost::setLocale(const QString& name) {
    if (!velawidget::quick::setLocale(name.toStdString())) {
        setStatus(QStringLiteral("The selector's texts are the host's own"));
    }
}

}  // namespace vela::demo
