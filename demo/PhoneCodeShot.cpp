#include "PhoneCodeShot.h"

#include <velawidget/quick.h>
#include <velawidget/quick/QtPlatform.h>
#include <velawidget/velawidget.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QQuickItem>
#include <QQuickWindow>
#include <iostream>
#include <memory>
#include <system_error>

#include "Screenshots.h"

namespace vela::demo {
namespace {

// Lets the scene settle: the list's first rows and logos do not matter here,
// only that the view has had its frames.
void settle(QQuickWindow* window, int ms) {
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        (void)window->grabWindow();
    }
}

}  // namespace

int renderPhoneCode(const QString& link, const QString& path) {
    auto selector = offscreenSelector(link);
    if (!selector) return 2;
    QQuickWindow* window = velawidget::quick::window(*selector);
    velawidget::quick::setColorScheme(velawidget::quick::ColorScheme::light);
    selector->show();
    QQuickItem* root = window->contentItem()->childItems().value(0);
    if (!root || !QMetaObject::invokeMethod(root, "showPhonePayment")) {
        std::cerr << "vela-demo: the selector has no phone view\n";
        return 1;
    }
    settle(window, 300);
    auto* code = root->findChild<QQuickItem*>(QStringLiteral("phoneCode"));
    if (!code || !code->property("valid").toBool()) {
        std::cerr << "vela-demo: the link could not be shown as a code\n";
        return 1;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QImage image = window->grabWindow();
    const bool ok = !image.isNull() && image.save(path, "PNG");
    std::cout << (ok ? "wrote " : "could not write ") << path.toStdString() << " (code of "
              << link.toStdString() << ")\n";
    return ok ? 0 : 1;
}

}  // namespace vela::demo
