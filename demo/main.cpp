// vela-demo: a small host application for the bank selector.
#include <velawidget/quick.h>
#include <velawidget/quick/QtPlatform.h>
#include <velawidget/velawidget.h>

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QUrl>
#include <cstdlib>
#include <iostream>
#include <stdexcept>

#include "DemoHost.h"
#include "DemoOptions.h"
#include "Screenshots.h"

namespace {

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int runBankApp(const vela::demo::DemoOptions& options) {
    QQmlApplicationEngine engine;
    const QUrl link(options.bankAppLink);
    engine.setInitialProperties(
        {{QStringLiteral("scheme"), link.scheme()}, {QStringLiteral("link"), options.bankAppLink}});
    engine.load(QUrl(QStringLiteral("qrc:/VelaDemo/BankApp.qml")));
    std::cout << "bank app \"" << link.scheme().toStdString()
              << "\" received: " << options.bankAppLink.toStdString() << std::endl;
    return engine.rootObjects().isEmpty() ? 1 : QGuiApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QString problem;
    const auto options = vela::demo::parseDemoOptions(arguments, problem);
    if (!options) {
        std::cerr << "vela-demo: " << problem.toStdString() << '\n'
                  << vela::demo::demoUsage << '\n';
        return 64;
    }
    const bool offscreen =
        !options->screenshotDir.isEmpty() || (options->bankAppLink.isEmpty() && !hasDisplay());
    if (offscreen) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    }
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("vela-demo"));
    QGuiApplication::setOrganizationName(QStringLiteral("VelaWidget"));
    if (!options->bankAppLink.isEmpty()) return runBankApp(*options);

    velawidget::quick::QtPlatformOptions platform;
    if (!options->connectTo.isEmpty()) platform.connectTo = options->connectTo.toStdString();
    if (!options->caFile.isEmpty()) platform.caFile = options->caFile.toStdString();
    if (!options->cachesDir.isEmpty()) platform.cachesDirectory = options->cachesDir.toStdString();
    try {
        velawidget::installPlatform(velawidget::quick::qtPlatform(platform));
    } catch (const std::invalid_argument& error) {
        std::cerr << "vela-demo: " << error.what() << '\n';
        return 64;
    }

    const QString link = options->link.isEmpty() ? vela::demo::DemoHost::qrSample() : options->link;
    if (offscreen) {
        const QString dir = options->screenshotDir.isEmpty()
                                ? QStringLiteral("vela-demo-screenshots")
                                : options->screenshotDir;
        return vela::demo::renderScreenshots(link, dir);
    }

    vela::demo::DemoHost host;
    QQmlApplicationEngine engine;
    velawidget::quick::registerQmlModule(engine);
    engine.setInitialProperties({{QStringLiteral("host"), QVariant::fromValue(&host)}});
    engine.load(QUrl(QStringLiteral("qrc:/VelaDemo/Main.qml")));
    if (engine.rootObjects().isEmpty()) return 1;
    return QGuiApplication::exec();
}
