// A Qt Quick host: a button presents the bank selector over its window.
// usage: qt-host LINK [ADDRESS:PORT CA-FILE] [--present-and-close]
#include <velawidget/quick.h>
#include <velawidget/quick/QtPlatform.h>
#include <velawidget/velawidget.h>

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QTimer>
#include <QWindow>
#include <iostream>

class Host : public QObject {
    Q_OBJECT
  public:
    Q_INVOKABLE void choose(const QString& link) {
        try {
            // Told once the selector is gone: opened, not opened, cancelled or failed.
            velawidget::VelaWidgetSDK::shared().showBankSelector(
                link.toStdString(), [this](const velawidget::SelectorResult& result) {
                    std::cout << "selector: " << velawidget::toString(result.outcome)
                              << (result.bank ? " " + result.bank->name() : "") << std::endl;
                    Q_EMIT finished(result.outcome);
                });
        } catch (const std::system_error& error) {
            std::cerr << "cannot show the selector: " << error.code().message() << '\n';
        }
    }

  Q_SIGNALS:
    void finished(velawidget::SelectorOutcome outcome);
};

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool check = args.removeAll("--present-and-close") > 0;
    if (args.size() != 1 && args.size() != 3)
        return std::cerr << "usage: qt-host LINK [ADDRESS:PORT CA-FILE]\n", 64;
    velawidget::quick::QtPlatformOptions options;
    if (args.size() == 3)
        options.connectTo = args[1].toStdString(), options.caFile = args[2].toStdString();
    velawidget::installPlatform(velawidget::quick::qtPlatform(options));

    Host host;
    QQmlApplicationEngine engine;
    engine.rootContext()->setContextProperty("host", &host);
    engine.rootContext()->setContextProperty("link", args[0]);
    engine.loadData(R"(
        import QtQuick
        import QtQuick.Controls.Basic
        ApplicationWindow {
            width: 360; height: 200; visible: true; title: "Shop"
            Button { anchors.centerIn: parent; text: "Pay with my bank"; onClicked: host.choose(link) }
        })");
    if (engine.rootObjects().isEmpty()) return 1;
    if (check) {
        // What the CI checks: the selector comes up over the window and goes again.
        QTimer::singleShot(0, [&] {
            host.choose(args[0]);
            const auto windows = QGuiApplication::topLevelWindows();
            const bool shown = windows.size() == 2 && windows.last()->isVisible();
            std::cout << (shown ? "selector presented and closed" : "no selector") << std::endl;
            if (!shown) return QCoreApplication::exit(1);
            QObject::connect(&host, &Host::finished, [](velawidget::SelectorOutcome outcome) {
                QCoreApplication::exit(outcome == velawidget::SelectorOutcome::cancelled ? 0 : 1);
            });
            windows.last()->close();
        });
    }
    return QGuiApplication::exec();
}

#include "main.moc"
