// The selector over the kit's own Qt texts, with a fake HTTP client and a bank
// list that never arrives. A host written in QML: which of the module's types
// its documents may name, and the language and colour scheme it switches from
// QML. Paying from another device: the phone view rendered offscreen and read
// back by a real QR decoder, once at device pixel ratio 1 and once at 2
// (QT_SCALE_FACTOR, set by CTest).

#include <gtest/gtest.h>
#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/platform.h>
#include <velawidget/quick.h>
#include <velawidget/quick/QtPlatform.h>

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlExpression>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <memory>
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

struct Made {
    std::unique_ptr<QObject> object;
    QString error;
};

Made make(QQmlEngine& engine, const QString& body) {
    QQmlComponent component(&engine);
    // A host document somewhere in the host's own files.
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

TEST(QmlHost, NamesTheViewAndTheSingletonsButNoneOfTheViewsParts) {
    QQmlEngine engine;
    quick::registerQmlModule(engine);
    auto made = make(engine, QStringLiteral("WidgetView { model: SharedSelector.model; "
                                            "property var look: Appearance }"));
    ASSERT_TRUE(made.object) << made.error.toStdString();
    EXPECT_TRUE(made.object->property("look").value<QObject*>());
    for (const char* part : {"AlertDialog", "SearchField", "BankRow", "BankListView",
                             "PayByPhoneView", "PlainButton", "RowBackground", "SkeletonRow"}) {
        const QString name = QString::fromLatin1(part);
        made = make(engine, name + QStringLiteral(" {}"));
        EXPECT_FALSE(made.object) << part;
        EXPECT_TRUE(made.error.contains(name + QStringLiteral(" is not a type")))
            << part << ": " << made.error.toStdString();
    }
}

TEST(QmlHost, SwitchesTheLanguageAndForcesTheColourSchemeFromQml) {
    QQmlEngine engine;
    quick::registerQmlModule(engine);
    auto made = make(engine, QStringLiteral(R"(Window {
    width: 390; height: 720
    WidgetView { objectName: "view"; anchors.fill: parent; model: SharedSelector.model }
})"));
    ASSERT_TRUE(made.object) << made.error.toStdString();
    auto* window = qobject_cast<QQuickWindow*>(made.object.get());
    ASSERT_TRUE(window);
    auto* view = window->findChild<QQuickItem*>(QStringLiteral("view"));
    auto* explanation = window->findChild<QQuickItem*>(QStringLiteral("explanation"));
    auto* background = window->findChild<QQuickItem*>(QStringLiteral("background"));
    ASSERT_TRUE(view && explanation && background);
    const QString prepare = QStringLiteral("SharedSelector.model.prepare('%1')");
    ASSERT_TRUE(evaluate(view, prepare.arg(QString::fromStdString(qrLink))).toBool());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    auto text = [&] {
        pump(window);
        return explanation->property("text").toString();
    };
    // The shown view re-renders at once in the other language, and back.
    ASSERT_NE(localized("uk", "LS.VelaWidget.qrDescriptionText"),
              localized("en", "LS.VelaWidget.qrDescriptionText"));
    EXPECT_TRUE(evaluate(view, QStringLiteral("SharedSelector.setLocale('uk')")).toBool());
    EXPECT_EQ(text(), localized("uk", "LS.VelaWidget.qrDescriptionText"));
    EXPECT_TRUE(evaluate(view, QStringLiteral("SharedSelector.setLocale('en')")).toBool());
    EXPECT_EQ(text(), localized("en", "LS.VelaWidget.qrDescriptionText"));

    // Forced from QML, read back, and followed by the view's background.
    auto colour = [&] {
        pump(window);
        return background->property("color").value<QColor>();
    };
    auto scheme = [&] { return evaluate(view, QStringLiteral("SharedSelector.colorScheme")); };
    QObject* selector = evaluate(view, QStringLiteral("SharedSelector")).value<QObject*>();
    ASSERT_TRUE(selector);
    QSignalSpy changes(selector, SIGNAL(colorSchemeChanged()));
    evaluate(view, QStringLiteral("SharedSelector.colorScheme = 'light'"));
    const QColor light = colour();
    EXPECT_FALSE(view->property("darkScheme").toBool());
    evaluate(view, QStringLiteral("SharedSelector.colorScheme = 'dark'"));
    const QColor dark = colour();
    EXPECT_NE(dark, light);
    EXPECT_TRUE(view->property("darkScheme").toBool());
    EXPECT_EQ(scheme().toString(), QStringLiteral("dark"));
    // Not a scheme: refused, nothing changes.
    evaluate(view, QStringLiteral("SharedSelector.colorScheme = 'Dark'"));
    EXPECT_EQ(scheme().toString(), QStringLiteral("dark"));
    EXPECT_EQ(colour(), dark);
    // The C++ call is the same setting, and QML hears of it even when the
    // offscreen platform's light palette draws as forced light did.
    quick::setColorScheme(quick::ColorScheme::light);
    quick::setColorScheme(quick::ColorScheme::system);
    EXPECT_EQ(scheme().toString(), QStringLiteral("system"));
    EXPECT_EQ(changes.count(), 4);
    EXPECT_EQ(colour(), light);
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

TEST(PhonePayment, SelectorShowsTheLinkAsACodeAPhoneCanRead) {
    const qreal ratio = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                            ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                            : 1.0;
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
    auto* action = find("payWithPhoneButton");
    ASSERT_NE(action, nullptr);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier,
                      action->mapToScene(action->boundingRect().center()).toPoint());
    pump(window);
    auto* code = find("phoneCode");
    ASSERT_TRUE(code && code->isVisible());
    for (const bool dark : {false, true}) {
        quick::setColorScheme(dark ? quick::ColorScheme::dark : quick::ColorScheme::light);
        pump(window);
        const QImage shot = window->grabWindow();
        ASSERT_EQ(shot.width(), qRound(390 * ratio));
        // Crisp: the code's square holds its two colours and the view's
        // background, never the blends that smoothing would leave.
        const QRect square = QRectF(code->mapRectToScene(code->boundingRect()).topLeft() * ratio,
                                    code->size() * ratio)
                                 .toAlignedRect();
        QSet<QRgb> colours;
        for (int y = square.top(); y <= square.bottom(); ++y) {
            for (int x = square.left(); x <= square.right(); ++x) colours.insert(shot.pixel(x, y));
        }
        EXPECT_LE(colours.size(), dark ? 3 : 2) << "dark " << dark << " ratio " << ratio;
        EXPECT_EQ(decode(shot, dark ? "dark" : "light"), qrLink + "\n") << "dark " << dark;
    }
    quick::setColorScheme(quick::ColorScheme::system);

    // The longest link fills the largest symbol; a longer one is never drawn
    // broken: a message instead.
    const auto largest = encodeQr(std::string(qrMaxBytes, 'x'));
    ASSERT_TRUE(std::holds_alternative<QrMatrix>(largest));
    EXPECT_EQ(std::get<QrMatrix>(largest).modules.size(), 177u * 177u);
    EXPECT_TRUE(std::holds_alternative<QrError>(encodeQr("")));
    const std::string longLink = qrLink + "&note=" + std::string(qrMaxBytes, 'n');
    auto longSelector = VelaWidgetSDK::shared().bankListViewController(longLink);
    window = quick::window(*longSelector);
    root = window->contentItem()->childItems().value(0);
    QMetaObject::invokeMethod(root, "showPhonePayment");
    ASSERT_NE(find("phoneCode"), nullptr);
    EXPECT_FALSE(find("phoneCode")->property("valid").toBool());
    EXPECT_FALSE(find("phoneCode")->isVisible());
    auto message = [&] { return find("phoneMessage")->property("text").toString(); };
    EXPECT_EQ(message(), localized("en", "LS.VelaWidget.phoneCodeUnavailable"));

    // Another language at run time: a shown screen follows it at once, its
    // window title too, and Arabic mirrors it.
    auto* model = root->property("model").value<QObject*>();
    ASSERT_TRUE(quick::setLocale("de"));
    pump(window);
    EXPECT_EQ(message(), localized("de", "LS.VelaWidget.phoneCodeUnavailable"));
    EXPECT_EQ(window->title(), localized("de", "LS.VelaWidget.selectorTitle"));
    EXPECT_FALSE(model->property("rightToLeft").toBool());
    ASSERT_TRUE(quick::setLocale("ar"));
    EXPECT_TRUE(model->property("rightToLeft").toBool());
    ASSERT_TRUE(quick::setLocale("en"));
}

}  // namespace
}  // namespace velawidget

int main(int argc, char** argv) {
    using namespace velawidget;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);  // same pixels every run
    QGuiApplication app(argc, argv);
    quick::QtPlatformOptions options;
    options.cachesDirectory = tempDir().path();
    options.locale = "en";
    Platform platform = quick::qtPlatform(options);
    platform.http = std::make_shared<vela::test::FakeHttpClient>();
    if (!installPlatform(std::move(platform))) return 3;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
