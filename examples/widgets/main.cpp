// A Qt Widgets host: a main window whose Pay button presents the bank
// selector over it and shows how the payment went in the status bar.
// usage: widgets-host LINK [ADDRESS:PORT CA-FILE] [--splash] [--then LINK2]
//   --splash      a splash screen comes and goes before the main window, and
//                 Pay calls showBankSelector, which must present over the
//                 main window rather than the hidden splash
//   --then LINK2  once the selector lists its banks, the shop replaces the
//                 payment with LINK2 (say, the shopper changed the basket)
#include <velawidget/quick.h>
#include <velawidget/quick/QtPlatform.h>
#include <velawidget/velawidget.h>

#include <QApplication>
#include <QColor>
#include <QMainWindow>
#include <QPixmap>
#include <QPushButton>
#include <QSplashScreen>
#include <QStatusBar>
#include <QTimer>
#include <QWidget>
#include <iostream>
#include <string>
#include <system_error>
#include <utility>

class Shop : public QMainWindow {
  public:
    Shop(QString link, bool anyWindow) : link_(std::move(link)), anyWindow_(anyWindow) {
        setWindowTitle("Widgets shop");
        auto* button = new QPushButton("Pay");
        connect(button, &QPushButton::clicked, this, [this] { pay(link_); });
        setCentralWidget(button);
        resize(480, 240);
    }

    // Pays `link`; a link the kit refuses leaves a selector already shown
    // saying so, and nothing of the earlier payment can be opened from it.
    void pay(const QString& link) {
        auto onResult = [this](const velawidget::SelectorResult& result) {
            report("selector: " + std::string(velawidget::toString(result.outcome)) +
                   (result.bank ? " " + result.bank->name() : ""));
        };
        try {
            auto& sdk = velawidget::VelaWidgetSDK::shared();
            if (anyWindow_)
                sdk.showBankSelector(link.toStdString(), onResult);
            else
                sdk.presentBankListViewController(link.toStdString(),
                                                  velawidget::quick::hostWindow(this), onResult);
        } catch (const std::system_error& error) {
            report("cannot show the selector: " + error.code().message());
        }
    }

  private:
    void report(const std::string& line) {
        statusBar()->showMessage(QString::fromStdString(line));
        std::cout << line << std::endl;
    }

    QString link_;
    bool anyWindow_;
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool splash = args.removeAll("--splash") > 0;
    QString then;
    if (const auto at = args.indexOf("--then"); at >= 0 && at + 1 < args.size()) {
        then = args.takeAt(at + 1);
        args.removeAt(at);
    }
    if (args.size() != 1 && args.size() != 3)
        return std::cerr << "usage: widgets-host LINK [ADDRESS:PORT CA-FILE] [--splash] "
                            "[--then LINK2]\n",
               64;
    velawidget::quick::QtPlatformOptions options;
    if (args.size() == 3)
        options.connectTo = args[1].toStdString(), options.caFile = args[2].toStdString();
    velawidget::installPlatform(velawidget::quick::qtPlatform(options));

    Shop shop(args[0], splash);
    if (!then.isEmpty()) {
        auto& sdk = velawidget::VelaWidgetSDK::shared();
        // Events arrive on the main queue once the kit is done with them, so
        // the handler may call the kit, and replace itself: once is enough.
        // The facade outlives `shop`, so the handler is cleared before `shop` goes.
        sdk.setEventHandler([&shop, &sdk, then](const velawidget::SelectorEvent& event) {
            if (event.kind != velawidget::SelectorEventKind::listShown) return;
            sdk.setEventHandler({});
            shop.pay(then);
        });
    }
    // Hidden, not deleted, once the shop shows, as splash screens usually
    // are: a top-level window that showBankSelector must pass over.
    QSplashScreen screen;
    if (splash) {
        QPixmap picture(360, 120);
        picture.fill(QColor(0x2a6f4e));
        screen.setPixmap(picture);
        screen.setWindowTitle("Loading the shop");
        screen.showMessage("Loading the shop…", Qt::AlignCenter, Qt::white);
        screen.show();
        QTimer::singleShot(1000, [&] {
            screen.finish(&shop);
            shop.show();
        });
    } else {
        shop.show();
    }
    const int status = QApplication::exec();
    velawidget::VelaWidgetSDK::shared().setEventHandler({});
    return status;
}
