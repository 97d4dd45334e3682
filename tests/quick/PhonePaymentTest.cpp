// Paying from another device: the real selector's phone view, rendered
// offscreen and read back by a real QR decoder. Run once at device pixel
// ratio 1 and once at 2 (QT_SCALE_FACTOR, set by CTest).

#include <gtest/gtest.h>
#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/platform.h>
#include <velawidget/quick.h>
#include <velawidget/quick/QtPlatform.h>

#include <QAccessible>
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

QString accessibleName(QObject* object) {
    auto* interface = QAccessible::queryAccessibleInterface(object);
    return interface ? interface->text(QAccessible::Name) : QString();
}

QString decode(const QString& png) {
    QProcess zbar;
    zbar.start(QStringLiteral(VELA_ZBARIMG), {QStringLiteral("--raw"), QStringLiteral("-q"), png});
    if (!zbar.waitForFinished(30000)) return QStringLiteral("<zbarimg did not run>");
    return QString::fromUtf8(zbar.readAllStandardOutput());
}

TEST(QrCode, EncodesExactBytesUpToTheLargestSymbol) {
    const struct {
        std::string text;
        int size;  // 0: refused with `error`
        QrError error;
    } cases[] = {
        {"", 0, QrError::empty},
        {std::string("a\0B", 3), 21, {}},
        {std::string(qrMaxBytes, 'x'), 177, {}},
        {std::string(qrMaxBytes + 1, 'x'), 0, QrError::tooLong},
    };
    for (const auto& c : cases) {
        const auto result = encodeQr(c.text);
        if (c.size == 0) {
            ASSERT_TRUE(std::holds_alternative<QrError>(result)) << c.text.size();
            EXPECT_EQ(std::get<QrError>(result), c.error) << c.text.size();
        } else {
            ASSERT_TRUE(std::holds_alternative<QrMatrix>(result)) << c.text.size();
            const auto& matrix = std::get<QrMatrix>(result);
            EXPECT_EQ(matrix.size, c.size) << c.text.size();
            EXPECT_EQ(matrix.modules.size(), static_cast<std::size_t>(c.size * c.size));
        }
    }
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
    ASSERT_NE(root, nullptr);
    auto find = [&](const char* name) {
        return root->findChild<QQuickItem*>(QString::fromLatin1(name));
    };

    auto* action = find("payWithPhoneButton");
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(accessibleName(action), QStringLiteral("Pay with your phone"));
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier,
                      action->mapToScene(action->boundingRect().center()).toPoint());
    pump(window);
    auto* code = find("phoneCode");
    ASSERT_NE(code, nullptr);
    ASSERT_TRUE(code->isVisible());
    EXPECT_FALSE(find("bankList")->isVisible()) << "the list is hidden under the code";
    EXPECT_EQ(accessibleName(code),
              QStringLiteral("Scan this code with your phone's camera to pay"));
    EXPECT_EQ(accessibleName(find("phoneBackButton")), QStringLiteral("Back"));

    const QString ratio = QString::number(expectedRatio);
    for (const auto scheme : {quick::ColorScheme::light, quick::ColorScheme::dark}) {
        const bool dark = scheme == quick::ColorScheme::dark;
        quick::setColorScheme(scheme);
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
        const QString png = QString::fromStdString(tempDir().path().string()) +
                            QStringLiteral("/code-%1-%2.png").arg(dark ? "dark" : "light", ratio);
        ASSERT_TRUE(shot.save(png));
        EXPECT_EQ(decode(png).toStdString(), qrLink + "\n") << png.toStdString();
    }
    quick::setColorScheme(quick::ColorScheme::system);

    // Escape goes back to the list, and the search field takes the keys again.
    QTest::keyClick(window, Qt::Key_Escape);
    pump(window);
    EXPECT_EQ(find("phoneCode"), nullptr);
    EXPECT_TRUE(find("bankList")->isVisible());
    EXPECT_TRUE(find("searchField")->hasActiveFocus());
    EXPECT_TRUE(window->isVisible()) << "Escape on the code does not close the selector";

    // A link too long for any code is never drawn broken: a message instead.
    const std::string longLink = qrLink + "&note=" + std::string(qrMaxBytes, 'n');
    auto longSelector = VelaWidgetSDK::shared().bankListViewController(longLink);
    QQuickItem* longRoot =
        velawidget::quick::window(*longSelector)->contentItem()->childItems().value(0);
    QMetaObject::invokeMethod(longRoot, "showPhonePayment");
    auto* longCode = longRoot->findChild<QQuickItem*>(QStringLiteral("phoneCode"));
    ASSERT_NE(longCode, nullptr);
    EXPECT_FALSE(longCode->property("valid").toBool());
    EXPECT_FALSE(longCode->isVisible());
    EXPECT_EQ(longRoot->findChild<QQuickItem*>(QStringLiteral("phoneMessage"))
                  ->property("text")
                  .toString(),
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
    QAccessible::setActive(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
