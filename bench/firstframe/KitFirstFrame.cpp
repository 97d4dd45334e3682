// vela-first-frame-kit: a host that opens the bank selector for one payment
// link on the desktop's display and quits once a frame with banks is on
// screen, printing the milliseconds since the process started.
//
//   vela-first-frame-kit --connect-to ADDRESS:PORT --cacert FILE --caches-dir DIR LINK
#include <velawidget/quick.h>
#include <velawidget/quick/QtPlatform.h>
#include <velawidget/velawidget.h>

#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <iostream>
#include <string>

#include "FirstFrame.h"
#include "support/ListProbe.h"

namespace {

QQuickItem* listOf(QQuickWindow* window) {
    auto* root = window ? window->contentItem()->childItems().value(0) : nullptr;
    return root ? root->findChild<QQuickItem*>(QStringLiteral("bankList")) : nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    const long long started = vela::bench::processStartNanoseconds();
    vela::bench::notePhase("main", started);
    QGuiApplication app(argc, argv);
    vela::bench::notePhase("application", started);
    velawidget::quick::QtPlatformOptions options;
    std::string link;
    const QStringList arguments = app.arguments().mid(1);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == QLatin1String("--connect-to") && hasValue) {
            options.connectTo = arguments[++i].toStdString();
        } else if (argument == QLatin1String("--cacert") && hasValue) {
            options.caFile = arguments[++i].toStdString();
        } else if (argument == QLatin1String("--caches-dir") && hasValue) {
            options.cachesDirectory = arguments[++i].toStdString();
        } else if (link.empty() && !argument.startsWith(QLatin1String("--"))) {
            link = argument.toStdString();
        } else {
            std::cerr << "usage: vela-first-frame-kit [--connect-to ADDRESS:PORT] [--cacert FILE]"
                         " [--caches-dir DIR] LINK\n";
            return 64;
        }
    }
    velawidget::installPlatform(velawidget::quick::qtPlatform(options));
    vela::bench::notePhase("platform", started);

    auto& sdk = velawidget::VelaWidgetSDK::shared();
    vela::bench::notePhase("facade", started);
    auto selector = sdk.bankListViewController(link);
    auto* window = velawidget::quick::window(*selector);
    if (!window) return 1;
    vela::bench::notePhase("selector", started);
    vela::bench::reportFirstFrame(
        *window, [window] { return vela::test::showsBanks(listOf(window)); }, started);
    selector->show();
    vela::bench::notePhase("shown", started);
    return QGuiApplication::exec();
}
