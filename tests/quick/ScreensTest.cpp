// The selector screens, driven offscreen through the public selector calls:
// a fake HTTP client answers the bank list, a manual clock runs the search
// throttle, and a fake opener decides whether a bank's app "opens". What a
// shopper sees on a real desktop (searching, opening a bank, the alert,
// offline, names for screen readers, presenting over a host) is driven end to
// end in tests/e2e; these cases keep what only a controlled clock, network and
// scene can pin down.

#include <gtest/gtest.h>
#include <velawidget/VelaWidgetError.h>
#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/platform.h>
#include <velawidget/platform/PosixFileStore.h>
#include <velawidget/quick.h>
#include <velawidget/quick/QtPlatform.h>

#include <QAbstractItemModel>
#include <QAccessible>
#include <QBuffer>
#include <QColor>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QMetaObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "screens/BankListModel.h"
#include "screens/LogoLoader.h"
#include "screens/LogoTile.h"
#include "screens/WidgetViewBridge.h"
#include "support/BankDocuments.h"
#include "support/FakeHttpClient.h"
#include "support/ManualClock.h"
#include "support/TempDir.h"

namespace velawidget {
namespace {

const std::string id = "VELATESTPAYMENTSTATIC00000000001";
const std::string qrLink = "https://qr.vela.example/" + id + "?type=02&sum=100";
const std::string subLink = "https://sub.vela.example/" + id;

class QtMainQueue final : public DispatchQueue {
  public:
    void async(std::function<void()> work) override {
        QMetaObject::invokeMethod(qApp, std::move(work), Qt::QueuedConnection);
    }
};

class FakeOpener final : public UrlOpener {
  public:
    void open(const std::string& url, std::function<void(bool)> completion) override {
        bool answer;
        {
            std::lock_guard lock(mutex);
            opened.push_back(url);
            answer = accepts;
        }
        completion(answer);
    }
    std::mutex mutex;
    std::vector<std::string> opened;
    bool accepts = true;
};

// The translation of "LS.VelaWidget.ok" is missing on purpose.
class FakeTexts final : public TextLookup {
  public:
    std::string localized(const std::string& key) const override {
        static const std::map<std::string, std::string> table = {
            {"LS.VelaWidget.emptyText", "No banks found"},
            {"LS.VelaWidget.emptyBankListFetchingResult", "Could not load the banks"},
            {"LS.VelaWidget.searchPlaceholderText", "Search for a bank"},
            {"LS.VelaWidget.error", "Error"},
            {"LS.VelaWidget.openUrlError", "The bank's app is not installed"},
            {"LS.VelaWidget.qrDescriptionText", "Choose a bank to pay"},
            {"LS.VelaWidget.subDescriptionText", "Choose a bank for the subscription"},
            {"LS.VelaWidget.selectorTitle", "Choose your bank"},
            {"LS.VelaWidget.bankListName", "Banks"},
            {"LS.VelaWidget.retry", "Retry"},
        };
        auto it = table.find(key);
        return it == table.end() ? key : it->second;
    }
};

struct TestPlatform {
    std::shared_ptr<vela::test::FakeHttpClient> http =
        std::make_shared<vela::test::FakeHttpClient>();
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    std::shared_ptr<FakeOpener> opener = std::make_shared<FakeOpener>();
    vela::test::TempDir caches;
};

TestPlatform& testPlatform() {
    static TestPlatform platform;
    return platform;
}

Bank bank(const std::string& name, const std::string& logo, const std::string& scheme) {
    return Bank{name, logo, scheme, std::nullopt, std::nullopt};
}

const std::vector<Bank> threeBanks = {
    bank("Ambel Bank", "https://logo.example/ambel.png", "ambelpay"),
    bank("Betuk Bank", "https://logo.example/betuk.png", "betukpay"),
    bank("Gamsel Savings", "https://logo.example/gamsel.png", "gamselpay"),
};

// Runs everything that is due: HTTP completions, posted main-queue work, and
// a frame of every visible window (a grab polishes and lays out the scene as
// the next frame would, without waiting for the frame timer).
void pump() {
    for (int round = 0; round < 4; ++round) {
        for (int inner = 0; inner < 5; ++inner) {
            testPlatform().http->callbackQueue().runUntilIdle();
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
        for (auto* window : QGuiApplication::topLevelWindows()) {
            auto* quick = qobject_cast<QQuickWindow*>(window);
            if (quick && quick->isExposed()) (void)quick->grabWindow();
        }
    }
}

template <class T = QQuickItem>
T* find(QObject* root, const char* name) {
    return root->findChild<T*>(QString::fromLatin1(name));
}

QQuickItem* rowItem(QQuickItem* list, int row) {
    QQuickItem* item = nullptr;
    QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem*, item),
                              Q_ARG(int, row));
    return item;
}

struct Screen {
    std::unique_ptr<BankSelectorController> controller;
    QQuickWindow* window = nullptr;
    QQuickItem* root = nullptr;
    WidgetViewBridge* model = nullptr;
    QQuickItem* list = nullptr;

    explicit Screen(std::unique_ptr<BankSelectorController> made) : controller(std::move(made)) {
        window = quick::window(*controller);
        root = window->contentItem()->childItems().value(0);
        model = root ? root->property("model").value<WidgetViewBridge*>() : nullptr;
        list = root ? find(root, "bankList") : nullptr;
    }
    bool show() {
        controller->show();
        return QTest::qWaitForWindowActive(window);
    }
    BankListModel& rows() { return *model->bankList()->rows(); }
    std::vector<std::string> names() {
        std::vector<std::string> names;
        for (const auto& cell : rows().cells()) names.push_back(cell.name);
        return names;
    }
    void click(QQuickItem* item) {
        ASSERT_NE(item, nullptr);
        const auto centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
        pump();
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window, key, modifiers);
        pump();
    }
    void type(const char* text) {
        for (const char* c = text; *c; ++c) QTest::keyClick(window, *c);
        pump();
    }
};

QString accessibleName(QObject* object) {
    auto* interface = QAccessible::queryAccessibleInterface(object);
    return interface ? interface->text(QAccessible::Name) : QString();
}

bool isLogo(const std::string& url) {
    return url.find("logo.example") != std::string::npos;
}

// The bank-list downloads waiting for an answer; logo requests aside.
std::vector<std::size_t> pendingLists() {
    std::vector<std::size_t> lists;
    const auto urls = testPlatform().http->pendingURLs();
    for (std::size_t i = 0; i < urls.size(); ++i) {
        if (!isLogo(urls[i])) lists.push_back(i);
    }
    return lists;
}

void answerBankList(const std::string& body) {
    const auto lists = pendingLists();
    ASSERT_EQ(lists.size(), 1u);
    testPlatform().http->respond(lists.front(), body);
    pump();
}

// Answers every logo request, those that wait their turn included, until
// the loader has delivered every result to the tiles.
void answerLogos(const velawidget::HttpBody& body, const LogoLoader& loader) {
    auto& http = *testPlatform().http;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const auto urls = http.pendingURLs();
        for (std::size_t i = urls.size(); i-- > 0;) {
            if (isLogo(urls[i])) http.respond(i, body);
        }
        pump();
        return !loader.busy();
    }));
    pump();
}

std::string pngBytes(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor(200, 40, 40));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

TEST(BankListModel, KeepsSurvivingRowsAcrossChanges) {
    auto cell = [](const std::string& name, std::optional<std::string> logo) {
        return BankListCellViewModel{name, std::move(logo)};
    };
    BankListModel model;
    model.setCells({cell("A", "la"), cell("B", "lb"), cell("C", "lc"), cell("D", std::nullopt)});
    const QPersistentModelIndex b(model.index(1));
    const QPersistentModelIndex d(model.index(3));
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    // A filter drops rows around the survivors.
    model.setCells({cell("B", "lb"), cell("D", std::nullopt)});
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(b.row(), 0);
    EXPECT_EQ(d.row(), 1);
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_EQ(reset.count(), 0);

    // A reordered list with a renamed survivor and a newcomer; the old rows move.
    model.setCells({cell("D", std::nullopt), cell("E", "le"), cell("Bee", "lb")});
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(d.row(), 0);
    EXPECT_EQ(b.row(), 2);
    EXPECT_EQ(model.data(b, BankListModel::NameRole).toString(), QStringLiteral("Bee"));

    // Repeated ids: as many rows survive as the new list holds.
    model.setCells({cell("X", "dup"), cell("Y", "dup"), cell("D", std::nullopt)});
    model.setCells({cell("Y", "dup"), cell("D", std::nullopt)});
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0), BankListModel::NameRole).toString(), QStringLiteral("Y"));
    EXPECT_EQ(d.row(), 1);
    model.setCells({cell("placholder_0", std::nullopt)});
    EXPECT_FALSE(d.isValid());
}

TEST(LogoTile, FetchesOnlyOnScreenAndOnlyShowsTheLogoItWasLastGiven) {
    auto& http = *testPlatform().http;
    LogoLoaderSettings oneAtATime;
    oneAtATime.maxFetches = 1;
    LogoLoader loader(testPlatform().http, oneAtATime);
    QQuickWindow window;
    window.resize(100, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto logoRequests = [&] {
        std::size_t count = 0;
        for (const auto& url : http.pendingURLs()) count += isLogo(url);
        return count;
    };
    ASSERT_EQ(logoRequests(), 0u);

    LogoTile tile;
    tile.setLoader(&loader);
    EXPECT_EQ(tile.implicitWidth(), 50);
    tile.setUrl(QStringLiteral("https://logo.example/a.png"));
    EXPECT_EQ(logoRequests(), 0u) << "not on screen yet";
    tile.setParentItem(window.contentItem());
    EXPECT_EQ(logoRequests(), 1u);

    // Given another bank before the first logo came: b waits for a's turn,
    // and only b's logo may show.
    tile.setUrl(QStringLiteral("https://logo.example/b.png"));
    ASSERT_EQ(logoRequests(), 1u);
    const auto urls = http.pendingURLs();
    const auto first =
        std::find(urls.begin(), urls.end(), "https://logo.example/a.png") - urls.begin();
    ASSERT_LT(static_cast<std::size_t>(first), urls.size());
    http.respond(static_cast<std::size_t>(first), pngBytes(10, 10));
    answerLogos(std::nullopt, loader);  // b, which fails
    EXPECT_FALSE(tile.loaded()) << "a's logo must not appear as b's";

    // Off screen and back: a failed logo is asked for again.
    tile.setVisible(false);
    tile.setVisible(true);
    ASSERT_EQ(logoRequests(), 1u);
    answerLogos(pngBytes(10, 10), loader);
    EXPECT_TRUE(tile.loaded());
    tile.setVisible(false);
    EXPECT_FALSE(tile.loaded()) << "the bitmap goes when the tile leaves the screen";
    // A logo loaded before shows at once, without a request.
    tile.setVisible(true);
    tile.setUrl(QStringLiteral("https://logo.example/a.png"));
    EXPECT_TRUE(tile.loaded());
    EXPECT_EQ(logoRequests(), 0u);
}

// Runs first: the shared model is still in its initial state.
TEST(Screens, FirstScreenShowsSkeletonsThenBanksAndFiltersAfterTheThrottle) {
    auto& platform = testPlatform();
    const std::size_t earlierRequests = platform.http->requests().size();
    Screen screen(VelaWidgetSDK::shared().bankListViewController(qrLink));
    ASSERT_NE(screen.model, nullptr);
    ASSERT_NE(screen.list, nullptr);
    // The skeletons and the window's colour are there before the first frame.
    ASSERT_EQ(screen.list->property("count").toInt(), 5);
    EXPECT_EQ(screen.window->color(), QColor(QStringLiteral("#FFFFFF")));
    ASSERT_TRUE(screen.show());
    pump();
    for (int row = 0; row < 5; ++row) {
        auto* item = rowItem(screen.list, row);
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->property("placeholder").toBool());
    }
    EXPECT_EQ(find(screen.root, "explanation")->property("text").toString(),
              QStringLiteral("Choose a bank to pay"));

    answerBankList(vela::test::bankListDocument(threeBanks));
    EXPECT_EQ(screen.names(),
              (std::vector<std::string>{"Ambel Bank", "Betuk Bank", "Gamsel Savings"}));
    ASSERT_EQ(screen.list->property("count").toInt(), 3);
    QPointer<QQuickItem> betaRow = rowItem(screen.list, 1);
    ASSERT_FALSE(betaRow.isNull());
    EXPECT_FALSE(betaRow->property("placeholder").toBool());
    // Each visible row asked for its logo, cache first; a wide logo is shown whole.
    std::vector<std::string> logoRequests;
    const auto requests = platform.http->requests();
    for (std::size_t i = earlierRequests; i < requests.size(); ++i) {
        const auto& request = requests[i];
        if (!isLogo(request.url)) continue;
        logoRequests.push_back(request.url);
        EXPECT_EQ(request.cachePolicy, CachePolicy::useCacheFirst);
        EXPECT_EQ(request.timeout, std::chrono::seconds(60));
    }
    EXPECT_EQ(logoRequests.size(), 3u);
    answerLogos(pngBytes(120, 60), *LogoLoader::forEngine(qmlEngine(screen.root)));
    auto* betaTile = find(betaRow, "logoTile");
    ASSERT_NE(betaTile, nullptr);
    EXPECT_TRUE(betaTile->property("loaded").toBool());
    EXPECT_EQ(betaTile->width(), 50);

    // Typing waits for the throttle.
    auto* symbol = find(screen.root, "searchSymbol");
    EXPECT_DOUBLE_EQ(symbol->opacity(), 0.2);
    screen.type("et");
    pump();
    EXPECT_EQ(screen.model->bankList()->searchText(), QStringLiteral("et"));
    EXPECT_DOUBLE_EQ(symbol->opacity(), 1.0);
    EXPECT_EQ(screen.names().size(), 3u);
    platform.clock->advance(BankListViewModel::searchThrottle);
    pump();
    EXPECT_EQ(screen.names(), (std::vector<std::string>{"Betuk Bank"}));
    // The surviving row is the same delegate, logo tile and all.
    ASSERT_FALSE(betaRow.isNull());
    EXPECT_EQ(rowItem(screen.list, 0), betaRow.data());
    EXPECT_TRUE(betaTile->property("loaded").toBool());
    for (int i = 0; i < 2; ++i) screen.key(Qt::Key_Backspace);
    platform.clock->advance(BankListViewModel::searchThrottle);
    pump();
    EXPECT_DOUBLE_EQ(symbol->opacity(), 0.2);
    EXPECT_EQ(screen.names().size(), 3u);
}

TEST(Screens, NewRowsStartTheCurrentRowOverAndAMissingTextShowsItsKey) {
    auto& platform = testPlatform();
    // The same kind again comes from the cached list at once.
    Screen screen(VelaWidgetSDK::shared().getBankSelector(qrLink));
    ASSERT_TRUE(screen.show());
    pump();
    EXPECT_TRUE(pendingLists().empty());
    ASSERT_EQ(screen.names().size(), 3u);

    // A search typed and cleared, Tab into the list, Down, Return: the
    // second bank, since new rows start the current row over.
    platform.opener->accepts = false;
    EXPECT_EQ(find<QObject>(screen.root, "openUrlAlert"), nullptr) << "made on first need";
    screen.key(Qt::Key_F, Qt::ControlModifier);
    screen.type("gam");
    platform.clock->advance(BankListViewModel::searchThrottle);
    pump();
    ASSERT_EQ(screen.names(), std::vector<std::string>{"Gamsel Savings"});
    for (int i = 0; i < 3; ++i) screen.key(Qt::Key_Backspace);
    platform.clock->advance(BankListViewModel::searchThrottle);
    pump();
    ASSERT_EQ(screen.names().size(), 3u);
    screen.key(Qt::Key_Tab);
    ASSERT_TRUE(screen.list->hasActiveFocus());
    screen.key(Qt::Key_Down);
    EXPECT_EQ(screen.list->property("currentIndex").toInt(), 1);
    screen.key(Qt::Key_Return);
    ASSERT_EQ(platform.opener->opened.size(), 1u);
    EXPECT_EQ(platform.opener->opened.back().rfind("betukpay://", 0), 0u)
        << platform.opener->opened.back();

    QPointer<QObject> alert = find<QObject>(screen.root, "openUrlAlert");
    ASSERT_FALSE(alert.isNull());
    EXPECT_TRUE(alert->property("visible").toBool());
    auto* ok = find(screen.window->contentItem(), "alertOkButton");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->property("text").toString(), QStringLiteral("LS.VelaWidget.ok"));
    screen.click(ok);
    EXPECT_FALSE(screen.model->bankAppNotFoundError());
}

TEST(Screens, FailedDownloadKeepsItsMessageUntilRetryLoadsTheList) {
    auto& platform = testPlatform();
    Screen screen(VelaWidgetSDK::shared().bankListViewController(subLink));
    ASSERT_TRUE(screen.show());
    answerBankList("not a bank list");
    auto* message = find(screen.root, "bankListMessage");
    auto* retry = find(screen.root, "retryButton");
    EXPECT_TRUE(message->isVisible());
    EXPECT_TRUE(retry->isVisible());
    EXPECT_FALSE(screen.list->isVisible());
    EXPECT_EQ(message->property("text").toString(), QStringLiteral("Could not load the banks"));
    EXPECT_EQ(find(screen.root, "explanation")->property("text").toString(),
              QStringLiteral("Choose a bank for the subscription"));

    // Typing leaves the message.
    screen.type("x");
    platform.clock->advance(BankListViewModel::searchThrottle);
    pump();
    EXPECT_EQ(message->property("text").toString(), QStringLiteral("Could not load the banks"));
    EXPECT_TRUE(retry->isVisible());

    // Retry from the keyboard: the loading rows, then the banks.
    screen.key(Qt::Key_Tab);
    ASSERT_TRUE(retry->hasActiveFocus());
    EXPECT_EQ(accessibleName(retry), QStringLiteral("Retry"));
    screen.key(Qt::Key_Return);
    EXPECT_FALSE(message->isVisible());
    EXPECT_EQ(screen.list->property("count").toInt(), 5);
    answerBankList(vela::test::bankListDocument(threeBanks));
    EXPECT_EQ(screen.names().size(), 3u);
    EXPECT_FALSE(retry->isVisible());
    screen.key(Qt::Key_Backspace);
    platform.clock->advance(BankListViewModel::searchThrottle);
    pump();
    EXPECT_EQ(screen.model->bankList()->searchText(), QString()) << "the field has focus again";
}

TEST(Screens, DarkSchemePicksTheDarkLogo) {
    Screen screen(VelaWidgetSDK::shared().bankListViewController(qrLink));
    ASSERT_TRUE(screen.show());
    answerBankList(vela::test::bankListDocument(threeBanks));
    ASSERT_EQ(screen.names().size(), 3u);
    auto* logo = find(screen.root, "velaLogo");
    screen.root->setProperty("darkScheme", false);
    pump();
    const auto light = logo->property("source").toUrl().toString();
    EXPECT_TRUE(light.contains(QStringLiteral("vela_logo"))) << light.toStdString();
    EXPECT_FALSE(light.contains(QStringLiteral("dark"))) << light.toStdString();
    screen.root->setProperty("darkScheme", true);
    pump();
    const auto dark = logo->property("source").toUrl().toString();
    EXPECT_TRUE(dark.contains(QStringLiteral("vela_logo_dark_mode"))) << dark.toStdString();

    quick::setColorScheme(quick::ColorScheme::dark);
    pump();

    // A row answers the pointer over it and a press, within the catalogue's colours.
    auto* row = rowItem(screen.list, 0);
    ASSERT_NE(row, nullptr);
    auto colour = [&] { return row->property("color").value<QColor>(); };
    const QColor rest = colour();
    EXPECT_EQ(rest, QColor(QStringLiteral("#1E2329")));
    const auto centre = row->mapToScene(QPointF(row->width() / 2, row->height() / 2)).toPoint();
    QTest::mouseMove(screen.window, centre);
    pump();
    const QColor hovered = colour();
    EXPECT_NE(hovered, rest);
    QTest::mousePress(screen.window, Qt::LeftButton, Qt::NoModifier, centre);
    pump();
    EXPECT_NE(colour(), hovered);
    EXPECT_NE(colour(), rest);
    const auto openedBefore = testPlatform().opener->opened.size();
    QTest::mouseMove(screen.window, QPoint(2, 2));
    QTest::mouseRelease(screen.window, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    pump();
    EXPECT_EQ(testPlatform().opener->opened.size(), openedBefore)
        << "a press dragged away opens nothing";
    EXPECT_EQ(colour(), rest);
    quick::setColorScheme(quick::ColorScheme::system);
}

TEST(Screens, ArabicSelectorMirrorsItsRowsSearchBarAndAlert) {
    // The test's own texts stand in for the Qt platform's, so the default
    // locale at the time the screen is made gives the direction.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Arabic));
    Screen screen(VelaWidgetSDK::shared().bankListViewController(qrLink));
    QLocale::setDefault(before);
    ASSERT_TRUE(screen.show());
    pump();
    ASSERT_EQ(screen.names().size(), 3u);
    auto left = [](QQuickItem* item) { return item->mapToScene(QPointF(0, 0)).x(); };
    EXPECT_GT(left(find(screen.root, "searchSymbol")), left(find(screen.root, "searchField")));
    auto* row = rowItem(screen.list, 0);
    ASSERT_NE(row, nullptr);
    EXPECT_GT(left(find(row, "logoTile")), left(row) + row->width() / 2);

    testPlatform().opener->accepts = false;
    screen.click(row);
    auto* ok = find(screen.window->contentItem(), "alertOkButton");
    ASSERT_NE(ok, nullptr);
    EXPECT_LT(left(ok) + ok->width() / 2, screen.window->width() / 2.0);
    screen.click(ok);
    testPlatform().opener->accepts = true;
}

TEST(SelectorCalls, PresentOverAParentAndShowOnTheFirstWindow) {
    auto& sdk = VelaWidgetSDK::shared();
    auto expectError = [](VelaWidgetError expected, auto&& call) {
        try {
            call();
            ADD_FAILURE() << "no error thrown";
        } catch (const std::system_error& error) {
            EXPECT_EQ(error.code(), make_error_code(expected)) << error.what();
        }
    };
    expectError(VelaWidgetError::invalidURLString, [&] { sdk.getBankSelector("not a link"); });
    expectError(VelaWidgetError::invalidURLString,
                [&] { sdk.bankListViewController("https://example.com/" + id); });

    // No window of the host's (a hidden selector is the kit's): nothing to
    // present on wins over the bad link.
    auto hidden = sdk.getBankSelector(qrLink);
    ASSERT_EQ(QGuiApplication::topLevelWindows().size(), 1);
    expectError(VelaWidgetError::presentationFailed, [&] { sdk.showBankSelector("not a link"); });
    hidden.reset();
    // A missing parent is refused before the link starts any work.
    const auto requestsBefore = testPlatform().http->requests().size();
    EXPECT_THROW(sdk.presentBankListViewController(subLink, HostWindow()), std::invalid_argument);
    EXPECT_EQ(testPlatform().http->requests().size(), requestsBefore);

    auto parent = std::make_unique<QWindow>();
    parent->setGeometry(100, 100, 600, 400);
    parent->show();
    expectError(VelaWidgetError::invalidURLString, [&] { sdk.showBankSelector("not a link"); });
    EXPECT_EQ(QGuiApplication::topLevelWindows().size(), 1);

    sdk.showBankSelector(qrLink);
    pump();
    QPointer<QQuickWindow> shown;
    for (auto* window : QGuiApplication::topLevelWindows()) {
        if (window != parent.get()) shown = qobject_cast<QQuickWindow*>(window);
    }
    ASSERT_FALSE(shown.isNull());
    // Centred across; the selector is taller than the parent, so it is moved
    // to the top of the screen rather than cut off.
    EXPECT_NEAR(shown->geometry().center().x(), parent->frameGeometry().center().x(), 1);
    EXPECT_NEAR(shown->y(), parent->screen()->availableGeometry().top(), 2) << "frame aside";
    EXPECT_TRUE(shown->isVisible());
    // Typing goes to the search field of a presented selector too.
    ASSERT_TRUE(QTest::qWaitForWindowActive(shown));
    EXPECT_TRUE(find(shown->contentItem(), "searchField")->hasActiveFocus());
    // Closing lets the presented selector go.
    shown->close();
    pump();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(shown.isNull());

    // The parent owns a selector it presents.
    sdk.presentBankListViewController(qrLink, quick::hostWindow(parent.get()));
    pump();
    for (auto* window : QGuiApplication::topLevelWindows()) {
        if (window != parent.get()) shown = qobject_cast<QQuickWindow*>(window);
    }
    ASSERT_FALSE(shown.isNull());
    EXPECT_TRUE(shown->isVisible());
    parent.reset();
    EXPECT_TRUE(shown.isNull());
}

}  // namespace
}  // namespace velawidget

int main(int argc, char** argv) {
    using namespace velawidget;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Same pixels on every run.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    auto& fake = testPlatform();
    Platform platform;
    platform.http = fake.http;
    platform.files = std::make_shared<PosixFileStore>(fake.caches.path());
    platform.mainQueue = std::make_shared<QtMainQueue>();
    platform.scheduler = fake.clock;
    platform.urlOpener = fake.opener;
    platform.texts = std::make_shared<FakeTexts>();
    if (!installPlatform(std::move(platform))) return 3;
    QGuiApplication app(argc, argv);
    // As with a screen reader running: controls fill in their accessible names.
    QAccessible::setActive(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
