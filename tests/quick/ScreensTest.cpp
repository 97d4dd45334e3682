// The screens offscreen on a fake network, manual clock and fake opener;
// what a shopper sees on a real desktop is in tests/e2e.

#include <gtest/gtest.h>
#include <velawidget/VelaWidgetError.h>
#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/platform.h>
#include <velawidget/platform/PosixFileStore.h>
#include <velawidget/quick.h>
#include <velawidget/quick/Appearance.h>
#include <velawidget/quick/QtPlatform.h>

#include <QAccessible>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QQmlContext>
#include <QQmlExpression>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>
#include <QSvgRenderer>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "quick/QuickPresenter.h"
#include "screens/AppearanceState.h"
#include "screens/EngineKit.h"
#include "screens/LogoLoader.h"
#include "screens/LogoTile.h"
#include "screens/Resources.h"
#include "screens/WidgetViewBridge.h"
#include "sdk/Kit.h"
#include "support/BankDocuments.h"
#include "support/FakeHttpClient.h"
#include "support/ListProbe.h"
#include "support/ManualClock.h"
#include "support/TempDir.h"

namespace velawidget {
namespace {

const std::string id = "VELATESTPAYMENTSTATIC00000000001";
const std::string qrLink = "https://qr.vela.example/" + id + "?type=02&sum=100";
const std::string subLink = "https://sub.vela.example/" + id;

class FakeOpener final : public UrlOpener {
  public:
    void open(const std::string& url, std::function<void(bool)> completion) override {
        opened.push_back(url);
        completion(true);
    }
    std::vector<std::string> opened;
};

// Screens show the bare keys; only the count of banks found keeps its number.
class FakeTexts final : public TextLookup {
  public:
    std::string localized(const std::string& key) const override {
        return key == "LS.VelaWidget.searchResultCount" ? "found %1" : key;
    }
};

struct TestPlatform {
    std::shared_ptr<vela::test::FakeHttpClient> http =
        std::make_shared<vela::test::FakeHttpClient>();
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    std::shared_ptr<FakeOpener> opener = std::make_shared<FakeOpener>();
    vela::test::TempDir caches;

    // A request still waiting holds its model, whose loader holds this
    // client: answered, they let each other go with the test's kit.
    ~TestPlatform() {
        http->respondAll(std::nullopt);
        http->callbackQueue().runUntilIdle();
        QCoreApplication::sendPostedEvents();
    }

    Platform platform() const {
        quick::QtPlatformOptions options;
        options.cachesDirectory = caches.path();
        Platform platform = quick::qtPlatform(options);
        platform.http = http;
        platform.scheduler = clock;
        platform.urlOpener = opener;
        platform.texts = std::make_shared<FakeTexts>();
        return platform;
    }
};

const std::vector<Bank> threeBanks = {
    {"Ambel Bank", "https://logo.example/ambel.png", "ambelpay", std::nullopt, std::nullopt},
    {"Betuk Bank", "https://logo.example/betuk.png", "betukpay", std::nullopt, std::nullopt},
    {"Gamsel Savings", "https://logo.example/gamsel.png", "gamselpay", std::nullopt, std::nullopt},
};

QQuickItem* find(QObject* root, const char* name) {
    return root->findChild<QQuickItem*>(QString::fromLatin1(name));
}

struct Screen {
    std::unique_ptr<BankSelectorController> controller;
    QQuickWindow* window = quick::window(*controller);
    QQuickItem* root = window->contentItem()->childItems().value(0);
    WidgetViewBridge* model = root->property("model").value<WidgetViewBridge*>();
    QQuickItem* list = find(root, "bankList");

    bool show() {
        controller->show();
        return QTest::qWaitForWindowActive(window);
    }
    std::vector<std::string> names() {
        std::vector<std::string> names;
        for (const auto& cell : model->bankList()->rows()->cells()) names.push_back(cell.name);
        return names;
    }
};

bool isLogo(const std::string& url) {
    return url.find("logo.example") != std::string::npos;
}

HttpBody png() {
    return vela::test::readFile(VELA_LOGO_CORPUS "/square.png");
}

// A kit of its own for every test: its models, its front end and the QML
// engine its selectors share start fresh, so tests run in any order.
class KitTest : public ::testing::Test {
  protected:
    TestPlatform fake;
    Kit kit{fake.platform()};

    Screen open(const std::string& link) { return Screen{kit.bankListViewController(link, {})}; }
    AppearanceState& appearance() {
        return dynamic_cast<QuickPresenter&>(kit.presenter()).appearance();
    }

    // HTTP completions, posted work, and a frame of every visible window.
    void pump() {
        for (int round = 0; round < 20; ++round) {
            fake.http->callbackQueue().runUntilIdle();
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            if (round % 5 != 4) continue;
            for (auto* window : QGuiApplication::topLevelWindows()) {
                auto* quick = qobject_cast<QQuickWindow*>(window);
                if (quick && quick->isExposed()) (void)quick->grabWindow();
            }
        }
    }

    void throttle() {
        fake.clock->advance(BankListViewModel::searchThrottle);
        pump();
    }

    std::size_t pendingLogos() {
        const auto urls = fake.http->pendingURLs();
        return static_cast<std::size_t>(std::count_if(urls.begin(), urls.end(), isLogo));
    }

    // Answers the bank list with the three banks if the last link started a download.
    void answerBankList() {
        pump();
        const auto urls = fake.http->pendingURLs();
        const auto list = std::find_if_not(urls.begin(), urls.end(), isLogo);
        if (list == urls.end()) return;
        fake.http->respond(list - urls.begin(), vela::test::bankListDocument(threeBanks));
        pump();
    }

    // Answers every logo request, queued ones included, until the loader is idle.
    void answerLogos(const HttpBody& body, const LogoLoader& loader) {
        auto& http = *fake.http;
        ASSERT_TRUE(QTest::qWaitFor([&] {
            const auto urls = http.pendingURLs();
            for (std::size_t i = urls.size(); i-- > 0;) {
                if (isLogo(urls[i])) http.respond(i, body);
            }
            pump();
            return !loader.busy();
        }));
    }
};

using LogoTiles = KitTest;
using Screens = KitTest;
using HostBoundary = KitTest;

TEST_F(LogoTiles, FetchOnScreenOnceDrawnAndOnlyShowTheLogoLastGiven) {
    LogoLoaderSettings oneAtATime;
    oneAtATime.maxFetches = 1;
    LogoLoader loader(fake.http, std::make_shared<PosixFileStore>(fake.caches.path()), oneAtATime);
    QQuickWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    LogoTile tile;
    tile.setLoader(&loader);
    tile.setUrl(QStringLiteral("https://logo.example/z.png"));
    EXPECT_FALSE(loader.busy()) << "not on screen yet";
    tile.setParentItem(window.contentItem());
    // On screen, the fetch waits for the frame that shows the tile; a tile
    // given another logo before then never asks for the first.
    EXPECT_FALSE(loader.busy()) << "before the tile's frame";
    tile.setUrl(QStringLiteral("https://logo.example/a.png"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pendingLogos() == 1; }));
    ASSERT_EQ(fake.http->pendingURLs(), std::vector<std::string>{"https://logo.example/a.png"});
    // Given b before a's logo came: b waits for a's turn, and only b's may show.
    tile.setUrl(QStringLiteral("https://logo.example/b.png"));
    pump();
    fake.http->respond(0, png());
    answerLogos(std::nullopt, loader);  // b fails
    EXPECT_FALSE(tile.loaded()) << "a's logo must not appear as b's";
    // Off screen and back: a failed logo is asked for again.
    tile.setVisible(false);
    tile.setVisible(true);
    answerLogos(png(), loader);
    EXPECT_TRUE(tile.loaded());
}

TEST_F(Screens, FirstScreenShowsSkeletonsThenBanksAndFiltersAfterTheThrottle) {
    Screen screen = open(qrLink);
    // The skeletons are there before the first frame.
    ASSERT_EQ(screen.list->property("count").toInt(), 5);
    ASSERT_TRUE(screen.show());
    pump();
    EXPECT_TRUE(vela::test::rowAt(screen.list, 4)->property("placeholder").toBool());
    EXPECT_EQ(find(screen.root, "explanation")->property("text").toString(),
              QStringLiteral("LS.VelaWidget.qrDescriptionText"));

    answerBankList();
    ASSERT_EQ(screen.names().size(), 3u);
    QPointer<QQuickItem> betuk = vela::test::rowAt(screen.list, 1);
    ASSERT_FALSE(betuk.isNull());
    // Each visible row asked for its logo, cache first.
    EXPECT_TRUE(QTest::qWaitFor([&] { return pendingLogos() == 3; }));
    EXPECT_EQ(fake.http->requests().back().cachePolicy, CachePolicy::useCacheFirst);
    answerLogos(png(), EngineKit::of(*qmlEngine(screen.root)).logos());

    // Typing shows at once in the field, filters after the throttle.
    for (char letter : std::string("et")) QTest::keyClick(screen.window, letter);
    pump();
    EXPECT_EQ(screen.model->bankList()->searchText(), QStringLiteral("et"));
    EXPECT_EQ(screen.names().size(), 3u);
    throttle();
    EXPECT_EQ(screen.names(), std::vector<std::string>{"Betuk Bank"});
    // The surviving row is the same delegate, logo and all.
    EXPECT_EQ(vela::test::rowAt(screen.list, 0), betuk.data());
    EXPECT_TRUE(find(betuk, "logoTile")->property("loaded").toBool());
    for (int i = 0; i < 2; ++i) QTest::keyClick(screen.window, Qt::Key_Backspace);
    throttle();
    EXPECT_EQ(screen.names().size(), 3u);
}

// What a screen reader reads: the status line's name.
QString accessibleName(QQuickItem* item) {
    auto* accessible = QAccessible::queryAccessibleInterface(item);
    return accessible ? accessible->text(QAccessible::Name) : QStringLiteral("<none>");
}

// Told once the rows follow, not per keystroke; a fresh search is told again.
TEST_F(Screens, ScreenReadersHearWhatTheSearchFoundOnceTheRowsFollowed) {
    Screen screen = open(qrLink);
    ASSERT_TRUE(screen.show());
    answerBankList();
    auto* status = find(screen.root, "searchResultStatus");
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(status)->role(), QAccessible::StatusBar);
    EXPECT_EQ(accessibleName(status), QString());
    for (int round = 0; round < 2; ++round) {
        QTest::keyClick(screen.window, 'b');
        pump();
        EXPECT_EQ(accessibleName(status), QString()) << "ahead of the rows, round " << round;
        throttle();
        ASSERT_EQ(screen.names().size(), 2u);
        EXPECT_EQ(accessibleName(status), QStringLiteral("found 2")) << "round " << round;
        QTest::keyClick(screen.window, 'x');
        throttle();
        EXPECT_EQ(accessibleName(status), QStringLiteral("LS.VelaWidget.emptyText"));
        for (int i = 0; i < 2; ++i) QTest::keyClick(screen.window, Qt::Key_Backspace);
        pump();
        EXPECT_EQ(accessibleName(status), QString()) << "an empty field has nothing to tell";
        throttle();
    }
}

// Fitted to the screen, frame and all, on first show only; the width stays.
TEST_F(Screens, AWindowTallerThanItsScreenIsFittedOnceWhenFirstShown) {
    Screen fits = open(qrLink);
    const QSize size = fits.window->size();
    ASSERT_TRUE(fits.show());
    EXPECT_EQ(fits.window->size(), size);
    fits.controller->close();

    Screen tall = open(qrLink);
    const QRect area = tall.window->screen()->availableGeometry();
    tall.window->resize(size.width(), area.height() + 200);
    ASSERT_TRUE(tall.show());
    EXPECT_TRUE(area.contains(tall.window->frameGeometry()))
        << tall.window->frameGeometry().height() << " of " << area.height();
    EXPECT_EQ(tall.window->width(), size.width());
    tall.controller->close();
    tall.window->resize(size.width() + 10, area.height() + 100);
    ASSERT_TRUE(tall.show());
    EXPECT_EQ(tall.window->size(), QSize(size.width() + 10, area.height() + 100));
    tall.controller->close();
}

// A host's translation with markup (an <img> naming a local file) is never rendered.
TEST_F(Screens, EveryLabelOfTheScreenAndTheAlertIsPlainText) {
    Screen screen = open(qrLink);
    ASSERT_TRUE(screen.show());
    screen.model->toggleBankAppNotFoundError();
    pump();
    ASSERT_TRUE(find(screen.window->contentItem(), "alertOkButton")->isVisible());
    std::vector<QQuickItem*> items{screen.window->contentItem()};
    int labels = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        for (auto* child : items[i]->childItems()) items.push_back(child);
        const QVariant format = items[i]->property("textFormat");
        if (!format.isValid() || !items[i]->isVisible()) continue;
        ++labels;
        EXPECT_EQ(format.toInt(), 0) << items[i]->property("text").toString().toStdString();
    }
    EXPECT_GT(labels, 5);
    screen.model->toggleBankAppNotFoundError();
    pump();
}

TEST_F(Screens, AppearanceRestylesTheScreenAndMirrorsInARightToLeftHost) {
    Screen screen = open(qrLink);
    ASSERT_TRUE(screen.show());
    appearance().setOverride(quick::ColorScheme::light);
    auto* explanation = find(screen.root, "explanation");
    auto look = [&] {
        pump();
        return std::pair(screen.window->color(),
                         explanation->property("font").value<QFont>().pixelSize());
    };
    const auto kit = look();
    QQmlExpression apply(qmlContext(screen.root), screen.root,
                         QStringLiteral("Appearance.apply({light: {MainBackground: '#f4f1ea'}, "
                                        "fontScale: 10})"));
    ASSERT_TRUE(apply.evaluate().toBool()) << apply.error().toString().toStdString();
    EXPECT_EQ(look(), std::pair(QColor(QStringLiteral("#f4f1ea")), 3 * kit.second))
        << "the font scale is clamped to 3";
    appearance().setAppearance({});
    EXPECT_EQ(look(), kit);
    appearance().setOverride(quick::ColorScheme::system);

    // Mirrored by the host's layout direction, whatever the kit's language.
    QQmlExpression mirrored(qmlContext(screen.root), screen.root,
                            QStringLiteral("root.LayoutMirroring.enabled"));
    EXPECT_FALSE(mirrored.evaluate().toBool()) << mirrored.error().toString().toStdString();
    QGuiApplication::setLayoutDirection(Qt::RightToLeft);
    EXPECT_TRUE(mirrored.evaluate().toBool());
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
}

TEST(Appearance, RefusesWhatDoesNotFit) {
    EXPECT_EQ(quick::appearanceFromJson(R"({"accent": "#802a6f4e"})").accent,
              quick::rgb(0x2a6f4e, 0x80));
    for (const std::string& bad : std::vector<std::string>{
             "[]", R"({"accent": "#+a6f4e"})", R"({"light": {"MainBackgrond": "#ffffff"}})",
             R"({"fontScale": "1.5"})",
             "{\"fontFamily\": \"" + std::string(64 * 1024, 'x') + "\"}"}) {
        EXPECT_THROW(quick::appearanceFromJson(bad), std::invalid_argument) << bad.substr(0, 40);
    }
}

TEST_F(Screens, SubscriptionsSayWhatTheyAreAndTheListAnswersKeysAndThePointer) {
    Screen screen = open(subLink);
    ASSERT_TRUE(screen.show());
    answerBankList();
    ASSERT_EQ(screen.names().size(), 3u);
    EXPECT_EQ(find(screen.root, "explanation")->property("text").toString(),
              QStringLiteral("LS.VelaWidget.subDescriptionText"));
    QTest::keyClick(screen.window, Qt::Key_Down);
    ASSERT_TRUE(screen.list->hasActiveFocus());
    for (const auto& [key, row] : std::vector<std::pair<Qt::Key, int>>{
             {Qt::Key_End, 2}, {Qt::Key_Home, 0}, {Qt::Key_PageDown, 2}, {Qt::Key_PageUp, 0}}) {
        QTest::keyClick(screen.window, key);
        EXPECT_EQ(screen.list->property("currentIndex").toInt(), row) << static_cast<int>(key);
    }
    QTest::keyClick(screen.window, Qt::Key_Up);
    EXPECT_TRUE(find(screen.root, "searchField")->hasActiveFocus());
    // A press dragged off its row opens nothing.
    auto* first = vela::test::rowAt(screen.list, 0);
    QTest::mousePress(screen.window, Qt::LeftButton, Qt::NoModifier,
                      first->mapToScene(first->boundingRect().center()).toPoint());
    QTest::mouseMove(screen.window, QPoint(2, 2));
    QTest::mouseRelease(screen.window, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    pump();
    EXPECT_TRUE(fake.opener->opened.empty());
}

// On Wayland keys can come before the window hears it is (again) active.
TEST_F(Screens, KeysThatComeBeforeTheFocusReachTheSearch) {
    Screen screen = open(qrLink);
    auto* field = find(screen.root, "searchField");
    ASSERT_TRUE(screen.show());
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(screen.window, &away);
    ASSERT_EQ(screen.window->activeFocusItem(), nullptr) << "nothing would come early";
    for (char letter : std::string("Qu")) QTest::keyClick(screen.window, letter);
    EXPECT_EQ(screen.model->bankList()->searchText(), QStringLiteral("Qu"));
    // Back in focus, keys take the usual way.
    QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(screen.window, &back);
    EXPECT_TRUE(field->hasActiveFocus());
    QTest::keyClick(screen.window, 'a');
    EXPECT_EQ(screen.model->bankList()->searchText(), QStringLiteral("Qua"));
    for (int i = 0; i < 3; ++i) QTest::keyClick(screen.window, Qt::Key_Backspace);
}

// The views draw the kit's images with Qt SVG, never through an image-format
// plugin (Debian 13 packages the SVG one apart): each one draws, in colour.
TEST(KitImages, EveryShippedImageDrawsFromTheAddressTheViewsUse) {
    const AppearanceState look;
    const Resources resources(look);
    int images = 0;
    for (const auto& file : std::filesystem::directory_iterator(VELA_IMAGES_DIR)) {
        const QUrl url = resources.image(QString::fromStdString(file.path().stem().string()));
        QSvgRenderer renderer(QStringLiteral(":") + url.path());
        ASSERT_TRUE(renderer.isValid()) << url.toString().toStdString();
        QImage image(renderer.defaultSize(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        int drawn = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) drawn += qAlpha(image.pixel(x, y)) > 0;
        EXPECT_GT(drawn, image.width() * image.height() / 20) << url.toString().toStdString();
        ++images;
    }
    EXPECT_GE(images, 3);
}

TEST_F(HostBoundary, RefusesBadCallsAndNeverCallsAClearedEventHandler) {
    auto& sdk = kit;
    {
        Screen screen = open(qrLink);
        ASSERT_TRUE(screen.show());
        int calls = 0;
        sdk.setEventHandler([&calls](const SelectorEvent&) { ++calls; });
        screen.model->reportPhoneCode();
        pump();
        EXPECT_EQ(calls, 1);
        // Queued before the handler was cleared, delivered after: never to it.
        screen.model->reportPhoneCode();
        sdk.setEventHandler({});
        pump();
        EXPECT_EQ(calls, 1);
    }
    pump();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto errorOf = [](auto&& call) {
        try {
            call();
        } catch (const std::system_error& error) {
            return error.code();
        }
        return std::error_code();
    };
    const auto invalid = make_error_code(VelaWidgetError::invalidURLString);
    EXPECT_EQ(errorOf([&] { sdk.bankListViewController("https://example.com/" + id, {}); }),
              invalid);
    // No host window (a hidden selector is the kit's) wins over the bad link.
    auto hidden = sdk.bankListViewController(qrLink, {});
    EXPECT_EQ(errorOf([&] { sdk.showBankSelector("not a link", {}); }),
              make_error_code(VelaWidgetError::presentationFailed));
    hidden.reset();
    // A missing parent is refused before the link starts any work.
    const auto requestsBefore = fake.http->requests().size();
    EXPECT_THROW(sdk.presentBankListViewController(subLink, HostWindow(), {}),
                 std::invalid_argument);
    EXPECT_EQ(fake.http->requests().size(), requestsBefore);

    // Closing lets a shown selector go; a presented one belongs to its parent.
    auto parent = std::make_unique<QWindow>();
    parent->show();
    QPointer<QWindow> shown;
    auto selector = [&] {
        pump();
        for (auto* window : QGuiApplication::topLevelWindows())
            if (window != parent.get()) shown = window;
        return !shown.isNull();
    };
    sdk.showBankSelector(qrLink, {});
    ASSERT_TRUE(selector());
    shown->close();
    pump();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(shown.isNull());
    sdk.presentBankListViewController(qrLink, quick::hostWindow(parent.get()), {});
    ASSERT_TRUE(selector());
    parent.reset();
    EXPECT_TRUE(shown.isNull());
}

}  // namespace
}  // namespace velawidget
