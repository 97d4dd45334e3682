#include "Screenshots.h"

#include <velawidget/quick.h>
#include <velawidget/quick/QtPlatform.h>
#include <velawidget/velawidget.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QQuickItem>
#include <QQuickWindow>
#include <QThread>
#include <functional>
#include <iostream>

#include "DemoHost.h"
#include "support/ListProbe.h"

namespace vela::demo {
namespace {

/// Runs the event loop until `done` holds or the time is up.
bool waitFor(const std::function<bool()>& done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

void settle(int ms) {
    waitFor([] { return false; }, ms);
}

bool save(QQuickWindow* window, const QString& path) {
    const QImage image = window->grabWindow();
    const bool ok = !image.isNull() && image.save(path);
    std::cout << (ok ? "wrote " : "could not write ") << path.toStdString() << '\n';
    return ok;
}

void type(QQuickWindow* window, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(window, &press);
        QCoreApplication::sendEvent(window, &release);
    }
}

}  // namespace

std::unique_ptr<velawidget::BankSelectorController> offscreenSelector(const QString& link) {
    try {
        auto selector =
            velawidget::VelaWidgetSDK::shared().bankListViewController(link.toStdString());
        velawidget::quick::window(*selector)->resize(390, 720);
        return selector;
    } catch (const std::system_error& error) {
        std::cerr << "vela-demo: " << error.code().message() << '\n';
        return nullptr;
    }
}

int renderScreenshots(const QString& link, const QString& dir, const QString& locale,
                      const std::optional<velawidget::quick::Appearance>& appearance) {
    QDir().mkpath(dir);
    auto selector = offscreenSelector(link);
    if (!selector) return 2;
    QQuickWindow* window = velawidget::quick::window(*selector);
    selector->show();
    QQuickItem* root = window->contentItem()->childItems().value(0);
    auto* list = root ? root->findChild<QQuickItem*>(QStringLiteral("bankList")) : nullptr;
    if (!waitFor([&] { return vela::test::showsBanks(list); }, 15000)) {
        std::cerr << "vela-demo: the bank list did not arrive\n";
    }
    // Give the visible rows' logos a moment to come in.
    waitFor(
        [&] {
            for (int row = 0; row < 6; ++row) {
                auto* item = vela::test::rowAt(list, row);
                auto* tile =
                    item ? item->findChild<QQuickItem*>(QStringLiteral("logoTile")) : nullptr;
                if (tile && !tile->property("loaded").toBool()) return false;
            }
            return true;
        },
        5000);
    bool ok = true;
    velawidget::quick::setColorScheme(velawidget::quick::ColorScheme::light);
    settle(100);
    ok &= save(window, dir + QStringLiteral("/selector-light.png"));
    if (!locale.isEmpty()) ok &= save(window, dir + QStringLiteral("/selector-") + locale + ".png");
    velawidget::quick::setColorScheme(velawidget::quick::ColorScheme::dark);
    settle(100);
    ok &= save(window, dir + QStringLiteral("/selector-dark.png"));
    velawidget::quick::setColorScheme(velawidget::quick::ColorScheme::light);
    if (appearance) {
        velawidget::quick::setAppearance(*appearance);
        settle(100);
        ok &= save(window, dir + QStringLiteral("/selector-appearance.png"));
        velawidget::quick::setAppearance({});
    }

    if (auto* field =
            root ? root->findChild<QQuickItem*>(QStringLiteral("searchField")) : nullptr) {
        field->forceActiveFocus();
        type(window, QStringLiteral("kredit"));
    }
    // Past the search throttle, then a frame.
    settle(900);
    ok &= save(window, dir + QStringLiteral("/selector-search.png"));

    // The data-only query, as a host without a screen would use it.
    DemoHost host;
    bool listed = false;
    QObject::connect(&host, &DemoHost::listed, [&] { listed = true; });
    host.listBanks(link);
    waitFor([&] { return listed; }, 15000);
    std::cout << "data-only query: " << host.status().toStdString() << '\n';
    for (const auto& row : host.banks()) {
        const auto bank = row.toMap();
        std::cout << "  " << bank.value(QStringLiteral("name")).toString().toStdString() << "  "
                  << bank.value(QStringLiteral("link")).toString().toStdString() << '\n';
    }
    return ok && listed ? 0 : 1;
}

}  // namespace vela::demo
