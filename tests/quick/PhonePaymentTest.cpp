// Paying from another device: the real selector's phone view, rendered
// offscreen and read back by a real QR decoder. Run once at device pixel
// ratio 1 and once at 2 (QT_SCALE_FACTOR, set by CTest).

#include <gtest/gtest.h>
#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/platform.h>
#include <velawidget/quick.h>
#include <velawidget/quick/QtPlatform.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QSet>
#include <QTest>
#include <string>
#include <variant>

#include "platform/qt/QtTexts.h"
#include "screens/QrCode.h"
#include "support/FakeHttpClient.h"
#include "support/TempDir.h"

namespace velawidget {
namespace {

const std::string qrLink =
    "https://qr.vela.example/VELATESTPAYMENTSTATIC00000000001?type=02&sum=12500&cur=XTS&crc=5A2B";

vela::test::TempDir& tempDir() {
    static vela::test::TempDir dir;
    return dir;
}

void pump(QQuickWindow* window) {
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        (void)window->grabWindow();
    }
}

// What a phone's camera would read from the picture, through zbarimg.
std::string decode(const QImage& shot, const char* name) {
    const QString png = QString::fromStdString((tempDir() / name).string() + ".png");
    if (!shot.save(png)) return "<not saved>";
    QProcess zbar;
    zbar.start(QStringLiteral(VELA_ZBARIMG), {QStringLiteral("--raw"), QStringLiteral("-q"), png});
    if (!zbar.waitForFinished(30000)) return "<zbarimg did not run>";
    return zbar.readAllStandardOutput().toStdString();
}

TEST(QrCode, TheLongestLinkFillsTheLargestSymbolAndNothingIsEmpty) {
    const auto largest = encodeQr(std::string(qrMaxBytes, 'x'));
    ASSERT_TRUE(std::holds_alternative<QrMatrix>(largest));
    EXPECT_EQ(std::get<QrMatrix>(largest).modules.size(), 177u * 177u);
    EXPECT_TRUE(std::holds_alternative<QrError>(encodeQr("")));
}

TEST(PhonePayment, SelectorShowsTheLinkAsACodeAPhoneCanRead) {
    const qreal expectedRatio = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                                    ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                                    : 1.0;
    auto selector = VelaWidgetSDK::shared().bankListViewController(qrLink);
    QQuickWindow* window = velawidget::quick::window(*selector);
    window->resize(390, 720);
    selector->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    ASSERT_EQ(window->effectiveDevicePixelRatio(), expectedRatio);
    QQuickItem* root = window->contentItem()->childItems().value(0);
    auto find = [&](const char* name) {
        return root->findChild<QQuickItem*>(QString::fromLatin1(name));
    };

    auto* action = find("payWithPhoneButton");
    ASSERT_NE(action, nullptr);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier,
                      action->mapToScene(action->boundingRect().center()).toPoint());
    pump(window);
    auto* code = find("phoneCode");
    ASSERT_NE(code, nullptr);
    ASSERT_TRUE(code->isVisible());

    for (const bool dark : {false, true}) {
        quick::setColorScheme(dark ? quick::ColorScheme::dark : quick::ColorScheme::light);
        pump(window);
        const QImage shot = window->grabWindow();
        ASSERT_EQ(shot.width(), qRound(390 * expectedRatio));
        // Crisp: the code's square holds its two colours and the view's
        // background, never the blends that smoothing would leave.
        const QRect square =
            QRectF(code->mapRectToScene(code->boundingRect()).topLeft() * expectedRatio,
                   code->size() * expectedRatio)
                .toAlignedRect();
        QSet<QRgb> colours;
        for (int y = square.top(); y <= square.bottom(); ++y) {
            for (int x = square.left(); x <= square.right(); ++x) colours.insert(shot.pixel(x, y));
        }
        EXPECT_LE(colours.size(), dark ? 3 : 2) << "dark " << dark << " ratio " << expectedRatio;
        EXPECT_EQ(decode(shot, dark ? "dark" : "light"), qrLink + "\n") << "dark " << dark;
    }
    quick::setColorScheme(quick::ColorScheme::system);

    // A link too long for any code is never drawn broken: a message instead.
    const std::string longLink = qrLink + "&note=" + std::string(qrMaxBytes, 'n');
    auto longSelector = VelaWidgetSDK::shared().bankListViewController(longLink);
    root = quick::window(*longSelector)->contentItem()->childItems().value(0);
    QMetaObject::invokeMethod(root, "showPhonePayment");
    ASSERT_NE(find("phoneCode"), nullptr);
    EXPECT_FALSE(find("phoneCode")->property("valid").toBool());
    EXPECT_FALSE(find("phoneCode")->isVisible());
    EXPECT_EQ(find("phoneMessage")->property("text").toString(),
              QStringLiteral("This payment link is too long to show as a code."));

    // Another language at run time: a shown screen follows it at once, its
    // window title too, and Arabic mirrors it.
    auto german = [](const char* key) {
        return QString::fromStdString(
            quick::QtTexts(quick::QtTexts::localeNamed("de")).localized(key));
    };
    auto* model = root->property("model").value<QObject*>();
    ASSERT_TRUE(quick::setLocale("de"));
    pump(quick::window(*longSelector));
    EXPECT_EQ(find("phoneMessage")->property("text").toString(),
              german("LS.VelaWidget.phoneCodeUnavailable"));
    EXPECT_EQ(quick::window(*longSelector)->title(), german("LS.VelaWidget.selectorTitle"));
    EXPECT_FALSE(model->property("rightToLeft").toBool());
    ASSERT_TRUE(quick::setLocale("ar"));
    EXPECT_TRUE(model->property("rightToLeft").toBool());
    ASSERT_TRUE(quick::setLocale("en"));
    EXPECT_EQ(find("phoneMessage")->property("text").toString(),
              QStringLiteral("This payment link is too long to show as a code."));
}

}  // namespace
}  // namespace velawidget

int main(int argc, char** argv) {
    using namespace velawidget;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QGuiApplication app(argc, argv);
    // The kit's own texts, with a bank list that never arrives: the code
    // needs only the link.
    quick::QtPlatformOptions options;
    options.cachesDirectory = tempDir().path();
    auto platform = quick::qtPlatform(options);
    platform.http = std::make_shared<vela::test::FakeHttpClient>();
    if (!installPlatform(std::move(platform))) return 3;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
