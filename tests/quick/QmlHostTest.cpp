// A host written in QML over the kit's Qt texts, and the phone view read back
// by a real QR decoder at device pixel ratio 1 and 2 (QT_SCALE_FACTOR by CTest).

#include <gtest/gtest.h>
#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/platform.h>
#include <velawidget/quick.h>
#include <velawidget/quick/QtPlatform.h>

#include <QColor>
#include <QGuiApplication>
#include <QProcess>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlExpression>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <variant>

#include "platform/qt/QtTexts.h"
#include "screens/QrMatrix.h"
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

// These tests are the QML host's: its screens show the facade's kit, so the
// platform is installed as a host installs it, once, before the facade is made.
class QmlHostTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static const bool installed = [] {
            quick::QtPlatformOptions options;
            options.cachesDirectory = tempDir().path();
            options.locale = "en";
            Platform platform = quick::qtPlatform(options);
            platform.http = std::make_shared<vela::test::FakeHttpClient>();
            return installPlatform(std::move(platform));
        }();
        ASSERT_TRUE(installed);
    }
};

using QmlHost = QmlHostTest;
using PhonePayment = QmlHostTest;

struct Made {
    std::unique_ptr<QObject> object;
    QString error;
};

Made make(QQmlEngine& engine, const QString& body) {
    QQmlComponent component(&engine);
    component.setData(("import QtQuick\nimport VelaWidget\n" + body).toUtf8(),
                      QUrl(QStringLiteral("file:///opt/shop/qml/Main.qml")));
    Made made{std::unique_ptr<QObject>(component.create()), QString()};
    if (!made.object) made.error = component.errorString();
    return made;
}

QVariant evaluate(QObject* scope, const QString& code) {
    QQmlExpression expression(qmlContext(scope), scope, code);
    const QVariant value = expression.evaluate();
    EXPECT_FALSE(expression.hasError()) << expression.error().toString().toStdString();
    return value;
}

void pump(QQuickWindow* window) {
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        (void)window->grabWindow();
    }
}

QString localized(const char* locale, const char* key) {
    return QString::fromStdString(
        quick::QtTexts(quick::QtTexts::localeNamed(locale)).localized(key));
}

TEST_F(QmlHost, NamesTheViewAndTheSingletonsButNoneOfTheViewsParts) {
    QQmlEngine engine;
    quick::registerQmlModule(engine);
    auto made = make(engine, QStringLiteral("WidgetView { model: SharedSelector.model; "
                                            "property var look: Appearance }"));
    ASSERT_TRUE(made.object) << made.error.toStdString();
    EXPECT_TRUE(made.object->property("look").value<QObject*>());
    for (const char* part : {"AlertDialog", "SearchField", "BankRow", "PayByPhoneView"}) {
        made = make(engine, QString::fromLatin1(part) + QStringLiteral(" {}"));
        EXPECT_TRUE(made.error.contains(QStringLiteral(" is not a type"))) << part;
    }
}

TEST_F(QmlHost, SwitchesTheLanguageAndForcesTheColourSchemeFromQml) {
    QQmlEngine engine;
    quick::registerQmlModule(engine);
    auto made = make(engine, QStringLiteral(R"(Window {
    width: 390; height: 720
    WidgetView { objectName: "view"; anchors.fill: parent; model: SharedSelector.model }
})"));
    auto* window = qobject_cast<QQuickWindow*>(made.object.get());
    ASSERT_TRUE(window) << made.error.toStdString();
    auto* view = window->findChild<QQuickItem*>(QStringLiteral("view"));
    auto* explanation = window->findChild<QQuickItem*>(QStringLiteral("explanation"));
    auto* background = window->findChild<QQuickItem*>(QStringLiteral("background"));
    ASSERT_TRUE(view && explanation && background);
    const QString prepare = QStringLiteral("SharedSelector.model.prepare('%1')");
    ASSERT_TRUE(evaluate(view, prepare.arg(QString::fromStdString(qrLink))).toBool());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    // The shown view re-renders at once in the other language, and back.
    const char* key = "LS.VelaWidget.qrDescriptionText";
    ASSERT_NE(localized("uk", key), localized("en", key));
    for (const char* locale : {"uk", "en"}) {
        EXPECT_TRUE(
            evaluate(view, QStringLiteral("SharedSelector.setLocale('%1')").arg(locale)).toBool());
        pump(window);
        EXPECT_EQ(explanation->property("text").toString(), localized(locale, key));
    }

    // Forced from QML; the C++ call is the same setting and QML hears of it.
    auto colour = [&](const char* assignment) {
        evaluate(view, QStringLiteral("SharedSelector.colorScheme = '%1'").arg(assignment));
        pump(window);
        return background->property("color").value<QColor>();
    };
    QObject* selector = evaluate(view, QStringLiteral("SharedSelector")).value<QObject*>();
    ASSERT_TRUE(selector);
    QSignalSpy changes(selector, SIGNAL(colorSchemeChanged()));
    const QColor light = colour("light"), dark = colour("dark");
    EXPECT_NE(dark, light);
    EXPECT_EQ(colour("Dark"), dark);
    quick::setColorScheme(quick::ColorScheme::light);
    quick::setColorScheme(quick::ColorScheme::system);
    EXPECT_EQ(evaluate(view, QStringLiteral("SharedSelector.colorScheme")).toString(),
              QStringLiteral("system"));
    EXPECT_EQ(changes.count(), 4);
    pump(window);
    EXPECT_EQ(background->property("color").value<QColor>(), light);
}

std::string decode(const QImage& shot, const char* name) {
    const QString png = QString::fromStdString((tempDir() / name).string() + ".png");
    if (!shot.save(png)) return "<not saved>";
    QProcess zbar;
    zbar.start(QStringLiteral(VELA_ZBARIMG), {QStringLiteral("--raw"), QStringLiteral("-q"), png});
    if (!zbar.waitForFinished(30000)) return "<zbarimg did not run>";
    return zbar.readAllStandardOutput().toStdString();
}

// A link of exactly `length` bytes with a varied note, as real data is.
std::string linkOfLength(std::size_t length) {
    std::string link = qrLink + "&note=";
    const char* const alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (unsigned state = 12345; link.size() < length;) {
        state = state * 1103515245u + 12345u;
        link += alphabet[(state >> 16) % 62];
    }
    return link;
}

// Whole device pixels per module of the code in `item`; 0 unless drawn crisply
// (two shades only, a size a whole multiple of the symbol's).
int modulePixels(const QImage& shot, const QQuickItem& item, int symbol) {
    // The software renderer's grab does not record the ratio it was drawn at.
    const qreal ratio = item.window()->effectiveDevicePixelRatio();
    const QRect area = QRectF(item.mapToScene(QPointF(0, 0)) * ratio, item.size() * ratio)
                           .toAlignedRect()
                           .intersected(shot.rect());
    // The finder patterns make the dark pixels' bounds the symbol's.
    QRect dark;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(shot.pixel(x, y)) < 128) dark |= QRect(x, y, 1, 1);
    }
    if (dark.isEmpty() || dark.width() != dark.height() || dark.width() % symbol != 0) return 0;
    QSet<QRgb> shades;
    for (int y = dark.top(); y <= dark.bottom(); ++y)
        for (int x = dark.left(); x <= dark.right(); ++x) shades.insert(shot.pixel(x, y));
    if (shades.size() != 2 || !shades.contains(qRgb(255, 255, 255))) return 0;
    return dark.width() / symbol;
}

TEST_F(PhonePayment, SelectorShowsTheLinkAsACodeAPhoneCanRead) {
    const qreal ratio = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    auto selector = VelaWidgetSDK::shared().bankListViewController(qrLink);
    QQuickWindow* window = quick::window(*selector);
    window->resize(390, 720);
    selector->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    ASSERT_EQ(window->effectiveDevicePixelRatio(), ratio);
    QQuickItem* root = window->contentItem()->childItems().value(0);
    auto find = [&](const char* name) {
        return root->findChild<QQuickItem*>(QString::fromLatin1(name));
    };
    // Each opening of the view that puts a code on the screen is told once.
    int codesShown = 0;
    VelaWidgetSDK::shared().setEventHandler([&codesShown](const SelectorEvent& event) {
        if (event.kind == SelectorEventKind::qrShown) ++codesShown;
    });
    auto* action = find("payWithPhoneButton");
    const auto open = [&] {
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier,
                          action->mapToScene(action->boundingRect().center()).toPoint());
        pump(window);
    };
    open();
    auto* code = find("phoneCode");
    ASSERT_TRUE(code->isVisible());
    EXPECT_EQ(codesShown, 1);
    for (const bool dark : {false, true}) {
        quick::setColorScheme(dark ? quick::ColorScheme::dark : quick::ColorScheme::light);
        pump(window);
        EXPECT_EQ(decode(window->grabWindow(), dark ? "dark" : "light"), qrLink + "\n")
            << "dark " << dark;
    }
    quick::setColorScheme(quick::ColorScheme::system);

    // A code only where each module gets 3 whole device pixels (fewer fail to
    // scan), sharp and read back exactly; elsewhere the message.
    const auto largest = encodeQr(std::string(qrMaxBytes, 'x'));
    ASSERT_TRUE(std::holds_alternative<QrMatrix>(largest));
    EXPECT_EQ(std::get<QrMatrix>(largest).size, 177);
    int drawn = 0;
    for (const std::size_t length : {120u, 666u, 667u, 1867u, 2331u, 2332u}) {
        const std::string link = linkOfLength(length);
        auto next = VelaWidgetSDK::shared().bankListViewController(link);
        pump(window);
        const auto matrix = encodeQr(link);
        const int symbol =
            std::holds_alternative<QrMatrix>(matrix) ? std::get<QrMatrix>(matrix).size : 0;
        const int side =
            static_cast<int>(std::floor(std::min(code->width(), code->height()) * ratio));
        const bool scans = symbol > 0 && side / (symbol + 2 * qrQuietZone) >= 3;
        drawn += scans ? 1 : 0;
        EXPECT_EQ(code->isVisible(), scans) << length << " bytes, symbol " << symbol;
        if (!scans) {
            EXPECT_EQ(find("phoneMessage")->property("text").toString().toStdString(),
                      localized("en", "LS.VelaWidget.phoneCodeUnavailable").toStdString())
                << length;
            continue;
        }
        const QImage shot = window->grabWindow();
        EXPECT_EQ(modulePixels(shot, *code, symbol), side / (symbol + 2 * qrQuietZone))
            << length << " bytes";
        EXPECT_EQ(decode(shot, "dense"), link + "\n") << length << " bytes";
    }
    EXPECT_EQ(drawn, ratio == 1 ? 2 : 5);

    // Reopened on a link no code holds: nothing told until a code is drawn.
    EXPECT_EQ(codesShown, 1);
    QTest::keyClick(window, Qt::Key_Escape);
    pump(window);
    ASSERT_FALSE(find("phoneCode"));
    open();
    code = find("phoneCode");
    ASSERT_TRUE(code);
    EXPECT_FALSE(code->isVisible());
    EXPECT_EQ(codesShown, 1);
    for (const std::string& link : {qrLink, linkOfLength(120)}) {
        auto next = VelaWidgetSDK::shared().bankListViewController(link);
        pump(window);
        EXPECT_TRUE(code->isVisible());
    }
    EXPECT_EQ(codesShown, 2);
    VelaWidgetSDK::shared().setEventHandler({});
}

}  // namespace
}  // namespace velawidget
