// A host written in QML: which of the module's types its documents may name,
// and the language and colour scheme it switches from QML. The kit's own Qt
// texts (the Qt platform's) so that a language switch has tables to switch
// to; a fake HTTP client, so nothing reaches a network.

#include <gtest/gtest.h>
#include <velawidget/platform.h>
#include <velawidget/quick.h>
#include <velawidget/quick/QtPlatform.h>

#include <QColor>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlExpression>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <memory>
#include <string>

#include "support/FakeHttpClient.h"
#include "support/TempDir.h"

namespace velawidget {
namespace {

const QString qrLink =
    QStringLiteral("https://qr.vela.example/VELATESTPAYMENTSTATIC00000000001?type=02&sum=100");

// A host document somewhere in the host's own files.
const QUrl hostDocument(QStringLiteral("file:///opt/shop/qml/Main.qml"));

struct Made {
    std::unique_ptr<QObject> object;
    QString error;
};

Made make(QQmlEngine& engine, const QString& body) {
    QQmlComponent component(&engine);
    component.setData(("import QtQuick\nimport VelaWidget\n" + body).toUtf8(), hostDocument);
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

void pump() {
    for (int round = 0; round < 5; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

TEST(QmlHost, NamesTheViewAndTheSingletonsButNoneOfTheViewsParts) {
    QQmlEngine engine;
    quick::registerQmlModule(engine);
    auto view = make(engine, QStringLiteral("WidgetView { model: SharedSelector.model }"));
    ASSERT_TRUE(view.object) << view.error.toStdString();
    auto singletons =
        make(engine, QStringLiteral("QtObject { property var selector: "
                                    "SharedSelector; property var look: Appearance }"));
    ASSERT_TRUE(singletons.object) << singletons.error.toStdString();
    EXPECT_TRUE(singletons.object->property("selector").value<QObject*>());
    EXPECT_TRUE(singletons.object->property("look").value<QObject*>());
    // The view still builds from them: they are the module's own to use.
    EXPECT_TRUE(view.object->property("searchField").value<QObject*>());

    for (const char* part : {"AlertDialog", "SearchField", "BankRow", "BankListView",
                             "PayByPhoneView", "PlainButton", "RowBackground", "SkeletonRow"}) {
        const QString name = QString::fromLatin1(part);
        const auto made = make(engine, name + QStringLiteral(" {}"));
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
    ASSERT_TRUE(
        evaluate(view, QStringLiteral("SharedSelector.model.prepare('%1')").arg(qrLink)).toBool());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    pump();
    auto text = [&] {
        pump();
        return explanation->property("text").toString();
    };
    const QString english = text();
    ASSERT_FALSE(english.isEmpty());

    // The shown view re-renders at once in the other language, and back.
    EXPECT_TRUE(evaluate(view, QStringLiteral("SharedSelector.setLocale('uk')")).toBool());
    const QString ukrainian = text();
    EXPECT_NE(ukrainian, english);
    EXPECT_TRUE(std::any_of(ukrainian.begin(), ukrainian.end(), [](QChar c) {
        return c.unicode() >= 0x400 && c.unicode() < 0x500;
    })) << ukrainian.toStdString();
    EXPECT_TRUE(evaluate(view, QStringLiteral("SharedSelector.setLocale('en')")).toBool());
    EXPECT_EQ(text(), english);

    // Forced from QML, read back, and followed by the view's background and logo.
    auto colour = [&] {
        pump();
        return background->property("color").value<QColor>();
    };
    QObject* selector = evaluate(view, QStringLiteral("SharedSelector")).value<QObject*>();
    ASSERT_TRUE(selector);
    QSignalSpy changes(selector, SIGNAL(colorSchemeChanged()));
    evaluate(view, QStringLiteral("SharedSelector.colorScheme = 'light'"));
    EXPECT_EQ(colour(), QColor(QStringLiteral("#FFFFFF")));
    EXPECT_FALSE(view->property("darkScheme").toBool());
    evaluate(view, QStringLiteral("SharedSelector.colorScheme = 'dark'"));
    EXPECT_EQ(colour(), QColor(QStringLiteral("#111418")));
    EXPECT_TRUE(view->property("darkScheme").toBool());
    EXPECT_EQ(evaluate(view, QStringLiteral("SharedSelector.colorScheme")).toString(),
              QStringLiteral("dark"));
    // Not a scheme: refused, nothing changes.
    evaluate(view, QStringLiteral("SharedSelector.colorScheme = 'Dark'"));
    EXPECT_EQ(evaluate(view, QStringLiteral("SharedSelector.colorScheme")).toString(),
              QStringLiteral("dark"));
    EXPECT_EQ(colour(), QColor(QStringLiteral("#111418")));
    // The C++ call is the same setting, and QML hears of it even when the
    // offscreen platform's light palette draws as forced light did.
    quick::setColorScheme(quick::ColorScheme::light);
    quick::setColorScheme(quick::ColorScheme::system);
    EXPECT_EQ(evaluate(view, QStringLiteral("SharedSelector.colorScheme")).toString(),
              QStringLiteral("system"));
    EXPECT_EQ(changes.count(), 4);
    EXPECT_EQ(colour(), QColor(QStringLiteral("#FFFFFF")));
}

}  // namespace
}  // namespace velawidget

int main(int argc, char** argv) {
    using namespace velawidget;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QGuiApplication app(argc, argv);
    vela::test::TempDir caches;
    quick::QtPlatformOptions options;
    options.cachesDirectory = caches.path();
    options.locale = "en";
    Platform platform = quick::qtPlatform(options);
    platform.http = std::make_shared<vela::test::FakeHttpClient>();
    if (!installPlatform(std::move(platform))) return 3;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
