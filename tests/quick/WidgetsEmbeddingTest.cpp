// A Qt Widgets host: the selector in a widget container, a widget as parent.

#include <gtest/gtest.h>
#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/platform.h>
#include <velawidget/quick.h>
#include <velawidget/quick/QtPlatform.h>

#include <QApplication>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QQuickWindow>
#include <QTest>
#include <QWidget>
#include <memory>

#include "sdk/Kit.h"
#include "support/FakeHttpClient.h"
#include "support/TempDir.h"

namespace velawidget {
namespace {

const std::string qrLink = "https://qr.vela.example/VELATESTPAYMENTSTATIC00000000001?type=02";

// A kit of its own on a fake network.
class WidgetsHost : public ::testing::Test {
  protected:
    // The download still waiting holds the kit's model, whose loader holds
    // the client: answered, they let each other go.
    ~WidgetsHost() override {
        http->respondAll(std::nullopt);
        http->callbackQueue().runUntilIdle();
        QCoreApplication::sendPostedEvents();
    }

    vela::test::TempDir caches;
    std::shared_ptr<vela::test::FakeHttpClient> http =
        std::make_shared<vela::test::FakeHttpClient>();
    Kit kit{[this] {
        quick::QtPlatformOptions options;
        options.cachesDirectory = caches.path();
        Platform platform = quick::qtPlatform(options);
        platform.http = http;
        return platform;
    }()};
};

TEST_F(WidgetsHost, EitherTheContainerOrTheSelectorMayGoFirst) {
    for (const bool containerFirst : {true, false}) {
        SCOPED_TRACE(containerFirst);
        auto selector = kit.bankListViewController(qrLink, {});
        QPointer<QQuickWindow> window = quick::window(*selector);
        ASSERT_TRUE(window);
        auto container = std::make_unique<QWidget>();
        auto* inner = QWidget::createWindowContainer(window, container.get());
        inner->resize(390, 720);
        container->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(container.get()));
        if (containerFirst) {
            container.reset();
            EXPECT_TRUE(window.isNull());
            EXPECT_EQ(quick::window(*selector), nullptr);
            selector->show();  // nothing left to show, and no crash
            selector->close();
            selector.reset();
        } else {
            selector.reset();
            EXPECT_TRUE(window.isNull());
            QCoreApplication::processEvents();
            container.reset();
        }
    }
}

TEST(WidgetsHostWindow, AWidgetNamesItsTopLevelWindowAsTheParent) {
    QMainWindow main;
    auto* pay = new QPushButton(QStringLiteral("Pay"));
    main.setCentralWidget(pay);
    EXPECT_FALSE(quick::hostWindow(pay)) << "no window before the widget is shown";
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    EXPECT_EQ(quick::hostWindow(pay).get(), main.windowHandle());
}

}  // namespace
}  // namespace velawidget
