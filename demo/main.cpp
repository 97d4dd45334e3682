// vela-demo: a small host application for the bank selector.
#include <velawidget/quick.h>
#include <velawidget/quick/Appearance.h>
#include <velawidget/quick/QtPlatform.h>
#include <velawidget/velawidget.h>

#include <QGuiApplication>
#include <QLocale>
#include <QPalette>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QUrl>
#include <cstdlib>
#include <iostream>
#include <stdexcept>

#include "AppearanceFile.h"
#include "DemoHost.h"
#include "DemoOptions.h"
#include "PhoneCodeShot.h"
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

// What a dark desktop theme gives every application; texts come out white.
QPalette darkPalette() {
    return QPalette(QColor(0x3a, 0x3a, 0x3a), QColor(0x1e, 0x1e, 0x1e));
}

}  // namespace

int main(int argc, char** argv) {
    // Qt takes its own options when the application is made, which must come
    // after choosing the platform, so the flags that choose it are looked
    // for first and the whole command line is read once Qt is done with it.
    const bool offscreen = vela::demo::mentionsFlag(argc, argv, "--screenshots") ||
                           vela::demo::mentionsFlag(argc, argv, "--qr-png") ||
                           (!vela::demo::mentionsFlag(argc, argv, "--bank-app") && !hasDisplay());
    if (offscreen) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    }
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("vela-demo"));
    QGuiApplication::setOrganizationName(QStringLiteral("VelaWidget"));
    QString problem;
    const auto options = vela::demo::parseDemoOptions(app.arguments().mid(1), problem);
    if (!options) {
        std::cerr << "vela-demo: " << problem.toStdString() << '\n'
                  << vela::demo::demoUsage << '\n';
        return 64;
    }
    if (!options->bankAppLink.isEmpty()) return runBankApp(*options);
    if (!options->locale.isEmpty()) {
        // The demo's own windows follow the default locale; the kit is told
        // through its options below, as a host that keeps its own would.
        const QLocale locale(options->locale);
        QLocale::setDefault(locale);
        // A left-to-right locale leaves the direction alone, so -reverse still mirrors.
        if (locale.textDirection() == Qt::RightToLeft) {
            QGuiApplication::setLayoutDirection(Qt::RightToLeft);
        }
    }

    if (options->dark) QGuiApplication::setPalette(darkPalette());
    std::optional<velawidget::quick::Appearance> appearance;
    if (!options->appearanceFile.isEmpty()) {
        appearance = vela::demo::readAppearanceFile(options->appearanceFile, problem);
        if (!appearance) {
            std::cerr << "vela-demo: " << problem.toStdString() << '\n';
            return 65;
        }
    }

    velawidget::quick::QtPlatformOptions platform;
    if (!options->connectTo.isEmpty()) platform.connectTo = options->connectTo.toStdString();
    if (!options->caFile.isEmpty()) platform.caFile = options->caFile.toStdString();
    if (!options->cachesDir.isEmpty()) platform.cachesDirectory = options->cachesDir.toStdString();
    if (!options->locale.isEmpty()) platform.locale = options->locale.toStdString();
    try {
        velawidget::installPlatform(velawidget::quick::qtPlatform(platform));
    } catch (const std::invalid_argument& error) {
        std::cerr << "vela-demo: " << error.what() << '\n';
        return 64;
    }

    const QString link = options->link.isEmpty() ? vela::demo::DemoHost::qrSample() : options->link;
    if (!options->phoneCodePng.isEmpty()) {
        return vela::demo::renderPhoneCode(link, options->phoneCodePng);
    }
    if (offscreen) {
        const QString dir = options->screenshotDir.isEmpty()
                                ? QStringLiteral("vela-demo-screenshots")
                                : options->screenshotDir;
        return vela::demo::renderScreenshots(link, dir, options->locale, appearance);
    }
    if (appearance) velawidget::quick::setAppearance(*appearance);

    vela::demo::DemoHost host;
    QQmlApplicationEngine engine;
    velawidget::quick::registerQmlModule(engine);
    engine.setInitialProperties({{QStringLiteral("host"), QVariant::fromValue(&host)},
                                 {QStringLiteral("initialLink"), link},
                                 {QStringLiteral("initialLocale"), options->locale}});
    engine.load(QUrl(QStringLiteral("qrc:/VelaDemo/Main.qml")));
    if (engine.rootObjects().isEmpty()) return 1;
    return QGuiApplication::exec();
}
