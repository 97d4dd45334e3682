// The selector screens offscreen, with a fake HTTP client, a manual clock for
// the search throttle and a fake opener. What a shopper sees on a real desktop
// (searching, opening a bank, the alert, offline and retrying, screen-reader names,
// right-to-left, presenting over a host) is driven end to end in tests/e2e;
// these cases keep what only a controlled clock, network and scene pin down.

#include <gtest/gtest.h>
#include <velawidget/VelaWidgetError.h>
#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/platform.h>
#include <velawidget/platform/PosixFileStore.h>
#include <velawidget/quick.h>
#include <velawidget/quick/Appearance.h>
#include <velawidget/quick/QtPlatform.h>

#include <QBuffer>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QQmlContext>
#include <QQmlExpression>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QSignalSpy>
#include <QTest>
#include <QVariant>
#include <QWindow>
#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>
#include <tuple>
#include <vector>

#include "screens/BankListModel.h"
#include "screens/LogoLoader.h"
#include "screens/LogoTile.h"
#include "screens/Resources.h"
#include "screens/WidgetViewBridge.h"
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

class QtMainQueue final : public DispatchQueue {
  public:
    void async(std::function<void()> work) override {
        QMetaObject::invokeMethod(qApp, std::move(work), Qt::QueuedConnection);
    }
};

class FakeOpener final : public UrlOpener {
  public:
    void open(const std::string& url, std::function<void(bool)> completion) override {
        opened.push_back(url);
        completion(true);
    }
    std::vector<std::string> opened;
};

// Every key is missing on purpose: a screen then shows the key itself.
class FakeTexts final : public TextLookup {
  public:
    std::string localized(const std::string& key) const override { return key; }
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

const std::vector<Bank> threeBanks = {
    {"Ambel Bank", "https://logo.example/ambel.png", "ambelpay", std::nullopt, std::nullopt},
    {"Betuk Bank", "https://logo.example/betuk.png", "betukpay", std::nullopt, std::nullopt},
    {"Gamsel Savings", "https://logo.example/gamsel.png", "gamselpay", std::nullopt, std::nullopt},
};

// Runs what is due: HTTP completions, posted work, and a frame of every
// visible window (a grab polishes and lays out as the next frame would).
void pump() {
    for (int round = 0; round < 20; ++round) {
        testPlatform().http->callbackQueue().runUntilIdle();
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
    testPlatform().clock->advance(BankListViewModel::searchThrottle);
    pump();
}

template <class T = QQuickItem>
T* find(QObject* root, const char* name) {
    return root->findChild<T*>(QString::fromLatin1(name));
}

QPoint centre(QQuickItem* item) {
    return item->mapToScene(item->boundingRect().center()).toPoint();
}

struct Screen {
    std::unique_ptr<BankSelectorController> controller;
    QQuickWindow* window = quick::window(*controller);
    QQuickItem* root = window->contentItem()->childItems().value(0);
    WidgetViewBridge* model = root->property("model").value<WidgetViewBridge*>();
    QQuickItem* list = find(root, "bankList");

    explicit Screen(std::unique_ptr<BankSelectorController> made) : controller(std::move(made)) {}

    bool show() {
        controller->show();
        return QTest::qWaitForWindowActive(window);
    }
    std::vector<std::string> names() {
        std::vector<std::string> names;
        for (const auto& cell : model->bankList()->rows()->cells()) names.push_back(cell.name);
        return names;
    }
    void type(const char* text) {
        for (const char* c = text; *c; ++c) QTest::keyClick(window, *c);
    }
};

bool isLogo(const std::string& url) {
    return url.find("logo.example") != std::string::npos;
}

std::size_t pendingLogos() {
    const auto urls = testPlatform().http->pendingURLs();
    return static_cast<std::size_t>(std::count_if(urls.begin(), urls.end(), isLogo));
}

// Answers the bank list with the three banks if the last link started a download.
void answerBankList() {
    pump();
    const auto urls = testPlatform().http->pendingURLs();
    const auto list = std::find_if_not(urls.begin(), urls.end(), isLogo);
    if (list == urls.end()) return;
    testPlatform().http->respond(list - urls.begin(), vela::test::bankListDocument(threeBanks));
    pump();
}

// Answers every logo request, those waiting their turn included, until the
// loader has delivered every result.
void answerLogos(const HttpBody& body, const LogoLoader& loader) {
    auto& http = *testPlatform().http;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const auto urls = http.pendingURLs();
        for (std::size_t i = urls.size(); i-- > 0;) {
            if (isLogo(urls[i])) http.respond(i, body);
        }
        pump();
        return !loader.busy();
    }));
}

std::string pngBytes(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

TEST(BankListModel, KeepsSurvivingRowsAcrossChanges) {
    using Cells = std::vector<BankListCellViewModel>;
    BankListModel model;
    model.setCells(Cells{{"A", "la"}, {"B", "lb"}, {"C", "lc"}, {"D", std::nullopt}});
    const QPersistentModelIndex b(model.index(1)), d(model.index(3));
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.setCells(Cells{{"B", "lb"}, {"D", std::nullopt}});  // a filter
    EXPECT_EQ(std::tuple(b.row(), d.row(), inserted.count(), reset.count()),
              std::tuple(0, 1, 0, 0));
    // Reordered, a survivor renamed, a newcomer: the old rows move.
    model.setCells(Cells{{"D", std::nullopt}, {"E", "le"}, {"Bee", "lb"}});
    EXPECT_EQ(std::tuple(model.rowCount(), d.row(), b.row()), std::tuple(3, 0, 2));
    EXPECT_EQ(model.data(b, BankListModel::NameRole).toString(), QStringLiteral("Bee"));
    // Repeated ids: as many rows survive as the new list holds.
    model.setCells(Cells{{"X", "dup"}, {"Y", "dup"}, {"D", std::nullopt}});
    model.setCells(Cells{{"Y", "dup"}, {"D", std::nullopt}});
    EXPECT_EQ(std::tuple(model.rowCount(), d.row()), std::tuple(2, 1));
    EXPECT_EQ(model.data(model.index(0), BankListModel::NameRole).toString(), QStringLiteral("Y"));
    model.setCells(Cells{{"placeholder_0", std::nullopt}});
    EXPECT_FALSE(d.isValid());
}

TEST(LogoTile, FetchesOnlyOnScreenAndOnlyShowsTheLogoItWasLastGiven) {
    LogoLoaderSettings oneAtATime;
    oneAtATime.maxFetches = 1;
    LogoLoader loader(testPlatform().http, oneAtATime);
    QQuickWindow window;
    window.resize(100, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    LogoTile tile;
    tile.setLoader(&loader);
    tile.setUrl(QStringLiteral("https://logo.example/a.png"));
    EXPECT_EQ(pendingLogos(), 0u) << "not on screen yet";
    tile.setParentItem(window.contentItem());
    EXPECT_EQ(pendingLogos(), 1u);

    // Given b before a's logo came: b waits for a's turn, and only b's may show.
    tile.setUrl(QStringLiteral("https://logo.example/b.png"));
    ASSERT_EQ(pendingLogos(), 1u);
    const auto urls = testPlatform().http->pendingURLs();
    const auto a = std::find(urls.begin(), urls.end(), "https://logo.example/a.png");
    ASSERT_NE(a, urls.end());
    testPlatform().http->respond(a - urls.begin(), pngBytes(10, 10));
    answerLogos(std::nullopt, loader);  // b fails
    EXPECT_FALSE(tile.loaded()) << "a's logo must not appear as b's";
    // Off screen and back: a failed logo is asked for again.
    tile.setVisible(false);
    tile.setVisible(true);
    ASSERT_EQ(pendingLogos(), 1u);
    answerLogos(pngBytes(10, 10), loader);
    EXPECT_TRUE(tile.loaded());
    tile.setVisible(false);
    EXPECT_FALSE(tile.loaded()) << "the bitmap goes when the tile leaves the screen";
    // A logo loaded before shows at once, without a request.
    tile.setVisible(true);
    tile.setUrl(QStringLiteral("https://logo.example/a.png"));
    EXPECT_TRUE(tile.loaded());
    EXPECT_EQ(pendingLogos(), 0u);
}

// Runs first: the shared model is still in its initial state.
TEST(Screens, FirstScreenShowsSkeletonsThenBanksAndFiltersAfterTheThrottle) {
    const std::size_t earlier = testPlatform().http->requests().size();
    Screen screen{VelaWidgetSDK::shared().bankListViewController(qrLink)};
    // The skeletons are there before the first frame.
    ASSERT_EQ(screen.list->property("count").toInt(), 5);
    ASSERT_TRUE(screen.show());
    pump();
    for (int row = 0; row < 5; ++row)
        EXPECT_TRUE(vela::test::rowAt(screen.list, row)->property("placeholder").toBool()) << row;
    EXPECT_EQ(find(screen.root, "explanation")->property("text").toString(),
              QStringLiteral("LS.VelaWidget.qrDescriptionText"));

    answerBankList();
    ASSERT_EQ(screen.names().size(), 3u);
    QPointer<QQuickItem> betuk = vela::test::rowAt(screen.list, 1);
    ASSERT_FALSE(betuk.isNull());
    EXPECT_FALSE(betuk->property("placeholder").toBool());
    // Each visible row asked for its logo, cache first; a wide logo is shown whole.
    const auto requests = testPlatform().http->requests();
    EXPECT_EQ(std::count_if(requests.begin() + static_cast<std::ptrdiff_t>(earlier), requests.end(),
                            [](const auto& r) {
                                return isLogo(r.url) && r.cachePolicy == CachePolicy::useCacheFirst;
                            }),
              3);
    answerLogos(pngBytes(120, 60), *LogoLoader::forEngine(qmlEngine(screen.root)));
    auto* tile = find(betuk, "logoTile");
    EXPECT_TRUE(tile->property("loaded").toBool());
    EXPECT_EQ(tile->width(), 50);

    // Typing shows at once in the field and the symbol, filters after the throttle.
    auto* symbol = find(screen.root, "searchSymbol");
    EXPECT_DOUBLE_EQ(symbol->opacity(), 0.2);
    screen.type("et");
    pump();
    EXPECT_EQ(screen.model->bankList()->searchText(), QStringLiteral("et"));
    EXPECT_DOUBLE_EQ(symbol->opacity(), 1.0);
    EXPECT_EQ(screen.names().size(), 3u);
    throttle();
    EXPECT_EQ(screen.names(), std::vector<std::string>{"Betuk Bank"});
    // The surviving row is the same delegate, logo and all.
    EXPECT_EQ(vela::test::rowAt(screen.list, 0), betuk.data());
    EXPECT_TRUE(tile->property("loaded").toBool());
    QTest::keyClick(screen.window, Qt::Key_Backspace);
    QTest::keyClick(screen.window, Qt::Key_Backspace);
    throttle();
    EXPECT_DOUBLE_EQ(symbol->opacity(), 0.2);
    EXPECT_EQ(screen.names().size(), 3u);
}

TEST(Screens, SubscriptionsSayWhatTheyAreAndDarkRowsAnswerThePointer) {
    Screen screen{VelaWidgetSDK::shared().bankListViewController(subLink)};
    ASSERT_TRUE(screen.show());
    answerBankList();
    ASSERT_EQ(screen.names().size(), 3u);
    EXPECT_EQ(find(screen.root, "explanation")->property("text").toString(),
              QStringLiteral("LS.VelaWidget.subDescriptionText"));
    for (const bool dark : {false, true}) {
        quick::setColorScheme(dark ? quick::ColorScheme::dark : quick::ColorScheme::light);
        pump();
        const auto logo = find(screen.root, "velaLogo")->property("source").toUrl().toString();
        EXPECT_EQ(logo.contains(QStringLiteral("vela_logo_dark_mode")), dark) << dark;
    }
    auto* row = vela::test::rowAt(screen.list, 0);
    auto colour = [&] { return row->property("color").value<QColor>(); };
    const QColor rest = colour();
    QTest::mouseMove(screen.window, centre(row));
    pump();
    const QColor hovered = colour();
    QTest::mousePress(screen.window, Qt::LeftButton, Qt::NoModifier, centre(row));
    pump();
    EXPECT_TRUE(hovered != rest && colour() != hovered && colour() != rest);
    QTest::mouseMove(screen.window, QPoint(2, 2));
    QTest::mouseRelease(screen.window, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    pump();
    EXPECT_TRUE(testPlatform().opener->opened.empty()) << "a press dragged away opens nothing";
    EXPECT_EQ(colour(), rest);
    quick::setColorScheme(quick::ColorScheme::system);
}

// Every text the kit shows is plain: a host's translation with markup in it
// (an <img> naming a local file, say) is shown as typed, never rendered.
TEST(Screens, EveryLabelOfTheScreenAndTheAlertIsPlainText) {
    Screen screen{VelaWidgetSDK::shared().bankListViewController(qrLink)};
    ASSERT_TRUE(screen.show());
    screen.model->toggleBankAppNotFoundError();
    pump();
    auto* ok = find(screen.window->contentItem(), "alertOkButton");
    ASSERT_TRUE(ok && ok->isVisible());
    std::vector<QQuickItem*> items{screen.window->contentItem()};
    int labels = 0;
    while (!items.empty()) {
        QQuickItem* item = items.back();
        items.pop_back();
        for (auto* child : item->childItems()) items.push_back(child);
        const QVariant format = item->property("textFormat");
        if (!format.isValid() || !item->isVisible()) continue;
        ++labels;
        EXPECT_EQ(format.toInt(), 0)
            << "not Text.PlainText: \"" << item->property("text").toString().toStdString() << '"';
    }
    EXPECT_GT(labels, 5);
    screen.model->toggleBankAppNotFoundError();
    pump();
}

// The shop's look set from QML reaches every part of the real screen, and
// setting no appearance gives the kit's own look back.
TEST(Screens, AppearanceRestylesTheScreenAndMirrorsInARightToLeftHost) {
    Screen screen{VelaWidgetSDK::shared().bankListViewController(qrLink)};
    ASSERT_TRUE(screen.show());
    pump();  // the same link again: the list comes from the cache
    ASSERT_EQ(screen.names().size(), 3u);
    quick::setColorScheme(quick::ColorScheme::light);
    auto* row = vela::test::rowAt(screen.list, 0);
    auto* explanation = find(screen.root, "explanation");
    auto* button = find(screen.root, "payWithPhoneButton");
    auto border = [](QQuickItem* item, const char* name) {
        return item->property("border").value<QObject*>()->property(name);
    };
    auto look = [&] {
        pump();
        const auto font = explanation->property("font").value<QFont>();
        return std::tuple(screen.window->color(), row->property("radius").toReal(),
                          font.pixelSize(), font.family(), border(button, "width").toReal(),
                          border(button, "color").value<QColor>());
    };
    const auto kit = look();
    QQmlExpression apply(qmlContext(screen.root), screen.root,
                         QStringLiteral("Appearance.apply({light: {MainBackground: '#f4f1ea'}, "
                                        "accent: Qt.rgba(0x2a / 255, 0x6f / 255, 0x4e / 255, 1), "
                                        "cornerRadius: 4, fontScale: 10, "
                                        "fontFamily: 'DejaVu Serif'})"));
    ASSERT_TRUE(apply.evaluate().toBool()) << apply.error().toString().toStdString();
    EXPECT_EQ(look(),
              std::tuple(QColor(QStringLiteral("#f4f1ea")), 4.0, 3 * std::get<2>(kit),
                         QStringLiteral("DejaVu Serif"), 1.0, QColor(QStringLiteral("#2a6f4e"))))
        << "the font scale is clamped to 3";
    quick::setColorScheme(quick::ColorScheme::dark);
    EXPECT_NE(std::get<0>(look()), QColor(QStringLiteral("#f4f1ea"))) << "dark was not given";
    quick::setAppearance({});
    quick::setColorScheme(quick::ColorScheme::light);
    EXPECT_EQ(look(), kit);
    quick::setColorScheme(quick::ColorScheme::system);

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
    for (const std::string& bad :
         std::vector<std::string>{"", "[]", R"({"accent": "green"})", R"({"accent": "#+a6f4e"})",
                                  R"({"light": {"MainBackgrond": "#ffffff"}})",
                                  R"({"fontScale": "1.5"})", R"({"colour": "#ffffff"})",
                                  "{\"fontFamily\": \"" + std::string(64 * 1024, 'x') + "\"}"}) {
        EXPECT_THROW(quick::appearanceFromJson(bad), std::invalid_argument) << bad.substr(0, 40);
    }
}

TEST(Keyboard, HomeEndAndPagesMoveThroughTheListAndUpFromTheTopReturnsToTheSearch) {
    Screen screen{VelaWidgetSDK::shared().bankListViewController(qrLink)};
    ASSERT_TRUE(screen.show());
    answerBankList();
    ASSERT_EQ(screen.names().size(), 3u);
    QTest::keyClick(screen.window, Qt::Key_Down);
    ASSERT_TRUE(screen.list->hasActiveFocus());
    for (const auto& [key, row] : std::vector<std::pair<Qt::Key, int>>{
             {Qt::Key_End, 2}, {Qt::Key_Home, 0}, {Qt::Key_PageDown, 2}, {Qt::Key_PageUp, 0}}) {
        QTest::keyClick(screen.window, key);
        EXPECT_EQ(screen.list->property("currentIndex").toInt(), row) << static_cast<int>(key);
    }
    QTest::keyClick(screen.window, Qt::Key_Up);
    EXPECT_TRUE(find(screen.root, "searchField")->hasActiveFocus());
}

TEST(HostBoundary, AClearedEventHandlerIsNeverCalled) {
    auto& sdk = VelaWidgetSDK::shared();
    Screen screen{sdk.bankListViewController(qrLink)};
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

// Every image the kit ships, read from the module's address as the views'
// Image reads it. A missing image format plugin (on Debian 13 the SVG one is
// a package of its own) leaves nothing but an empty space on the screen.
TEST(KitImages, EveryShippedImageDecodesFromTheAddressTheViewsUse) {
    const Resources resources;
    int images = 0;
    for (const auto& file : std::filesystem::directory_iterator(VELA_IMAGES_DIR)) {
        const QString name = QString::fromStdString(file.path().filename().string());
        const QString path = QStringLiteral(":/VelaWidget/images/") + name;
        if (file.path().extension() == ".svg") {
            const QUrl url = resources.image(QString::fromStdString(file.path().stem().string()));
            EXPECT_EQ(url, QUrl(QStringLiteral("qrc") + path));
        }
        QImageReader reader(path);
        EXPECT_FALSE(reader.read().isNull())
            << name.toStdString() << ": " << reader.errorString().toStdString();
        ++images;
    }
    EXPECT_GE(images, 3);
}

TEST(SelectorCalls, RefuseBadLinksMissingHostsAndMissingParents) {
    auto& sdk = VelaWidgetSDK::shared();
    auto errorOf = [](auto&& call) {
        try {
            call();
        } catch (const std::system_error& error) {
            return error.code();
        }
        return std::error_code();
    };
    const auto invalid = make_error_code(VelaWidgetError::invalidURLString);
    EXPECT_EQ(errorOf([&] { sdk.getBankSelector("not a link"); }), invalid);
    EXPECT_EQ(errorOf([&] { sdk.bankListViewController("https://example.com/" + id); }), invalid);
    // No window of the host's (a hidden selector is the kit's): nothing to
    // present on wins over the bad link.
    auto hidden = sdk.getBankSelector(qrLink);
    ASSERT_EQ(QGuiApplication::topLevelWindows().size(), 1);
    EXPECT_EQ(errorOf([&] { sdk.showBankSelector("not a link"); }),
              make_error_code(VelaWidgetError::presentationFailed));
    hidden.reset();
    // A missing parent is refused before the link starts any work.
    const auto requestsBefore = testPlatform().http->requests().size();
    EXPECT_THROW(sdk.presentBankListViewController(subLink, HostWindow()), std::invalid_argument);
    EXPECT_EQ(testPlatform().http->requests().size(), requestsBefore);

    // With a host window the link is judged. Closing lets a shown selector
    // go; a presented one belongs to its parent.
    auto parent = std::make_unique<QWindow>();
    parent->show();
    EXPECT_EQ(errorOf([&] { sdk.showBankSelector("not a link"); }), invalid);
    QPointer<QWindow> shown;
    auto selector = [&] {
        pump();
        for (auto* window : QGuiApplication::topLevelWindows())
            if (window != parent.get()) shown = window;
        return !shown.isNull();
    };
    sdk.showBankSelector(qrLink);
    ASSERT_TRUE(selector());
    shown->close();
    pump();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(shown.isNull());
    sdk.presentBankListViewController(qrLink, quick::hostWindow(parent.get()));
    ASSERT_TRUE(selector());
    parent.reset();
    EXPECT_TRUE(shown.isNull());
}

}  // namespace
}  // namespace velawidget

int main(int argc, char** argv) {
    using namespace velawidget;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);  // same pixels every run
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
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
