// Built with only `pkg-config --cflags --libs velawidget-quick`: when the
// selector's window comes up with its screen in it, the library, its QML
// module and the Qt modules they need were all linked.
// usage: quick-pc LINK
#include <velawidget/quick.h>
#include <velawidget/quick/QtPlatform.h>
#include <velawidget/velawidget.h>

#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <iostream>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) return std::cerr << "usage: quick-pc LINK\n", 64;
    velawidget::installPlatform(velawidget::quick::qtPlatform());
    auto selector = velawidget::VelaWidgetSDK::shared().bankListViewController(argv[1]);
    QQuickWindow* window = velawidget::quick::window(*selector);
    const bool shown = window && !window->contentItem()->childItems().isEmpty();
    std::cout << (shown ? "selector screen loaded" : "no selector screen") << std::endl;
    return shown ? 0 : 1;
}
