// A host written in QML: all of it is in Main.qml; C++ only starts the engine.
// usage: qml-host LINK [ADDRESS:PORT CA-FILE]
#include <velawidget/quick.h>
#include <velawidget/quick/QtPlatform.h>

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QUrl>
#include <iostream>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 1 && args.size() != 3)
        return std::cerr << "usage: qml-host LINK [ADDRESS:PORT CA-FILE]\n", 64;
    // Only for a payment system elsewhere than the default's (the sandbox).
    if (args.size() == 3) {
        velawidget::quick::QtPlatformOptions options;
        options.connectTo = args[1].toStdString();
        options.caFile = args[2].toStdString();
        velawidget::installPlatform(velawidget::quick::qtPlatform(options));
    }
    QQmlApplicationEngine engine;
    // A static kit brings no QML plugin for Qt to find: `import VelaWidget` needs this.
    velawidget::quick::registerQmlModule(engine);
    engine.setInitialProperties({{"paymentLink", args[0]}});
    engine.load(QUrl("qrc:/shop/Main.qml"));
    if (engine.rootObjects().isEmpty()) return 1;
    return QGuiApplication::exec();
}
