// The selector on screen (offscreen, software-rendered): time from
// `bankListViewController` with a cached list to the first frame that shows
// the banks, against a bare QML list of the same names; and the memory a
// scroll from the first bank to the last costs, with logos arriving.
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>
#include <velawidget/platform.h>
#include <velawidget/platform/PosixFileStore.h>
#include <velawidget/quick.h>
#include <velawidget/velawidget.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickView>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QStringList>
#include <QThreadPool>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "BankListGenerator.h"
#include "Summary.h"
#include "platform/qt/QtEventLoop.h"
#include "support/ListProbe.h"

namespace {

constexpr std::size_t startBanks = 1000;
const std::string qrLink = "https://qr.vela.example/VELATESTPAYMENTSTATIC00000000001?sum=100";
const std::string subLink = "https://sub.vela.example/VELATESTPAYMENTSTATIC00000000001";

std::string logoBytes() {
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(QColor(30, 120, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

/// Answers at once: the QR list has 1,000 banks, the subscription list
/// 10,000, and every logo is the same small PNG.
class ImmediateHttpClient final : public velawidget::HttpClient {
  public:
    void get(velawidget::HttpRequest request,
             std::function<void(velawidget::HttpBody)> done) override {
        if (request.url.find("/logos/") != std::string::npos) return done(logo_);
        const bool qr = request.url.find("://qr.") != std::string::npos;
        done(qr ? qrList_ : subList_);
    }

  private:
    std::string logo_ = logoBytes();
    std::string qrList_ = vela::generator::bankListDocument({startBanks});
    std::string subList_ = vela::generator::bankListDocument({10000, 2, "vela.example", "sub"});
};

std::filesystem::path scratch() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vela-selector-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern;
}

QGuiApplication& application() {
    static int argc = 1;
    static char name[] = "vela_bench";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        return new QGuiApplication(argc, argv);
    }();
    return *app;
}

// Before any benchmark touches the kit: the other benchmarks fix the
// platform on first use too.
const bool platformInstalled = [] {
    auto loop = std::make_shared<velawidget::quick::QtEventLoop>();
    velawidget::Platform platform;
    platform.http = std::make_shared<ImmediateHttpClient>();
    platform.files = std::make_shared<velawidget::PosixFileStore>(scratch());
    platform.mainQueue = loop;
    platform.scheduler = loop;
    return velawidget::installPlatform(std::move(platform));
}();

/// CPU seconds this thread has used. The software renderer draws on the
/// main thread, so this holds the whole first frame while leaving out the
/// time other processes on a busy machine take from it.
double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

QQuickItem* listOf(QQuickWindow* window) {
    auto* root = window->contentItem()->childItems().value(0);
    return root ? root->findChild<QQuickItem*>(QStringLiteral("bankList")) : nullptr;
}

void selectorStart(benchmark::State& state) {
    application();
    if (!platformInstalled) return state.SkipWithError("another platform was installed first");
    // The first selector downloads and caches the list; every one after it
    // reads the cache, as a shopper's second payment would.
    {
        auto warm = velawidget::VelaWidgetSDK::shared().bankListViewController(qrLink);
        warm->show();
        while (!vela::test::showsBanks(listOf(velawidget::quick::window(*warm))))
            QCoreApplication::processEvents();
    }
    for (auto _ : state) {
        const double start = threadSeconds();
        auto selector = velawidget::VelaWidgetSDK::shared().bankListViewController(qrLink);
        auto* window = velawidget::quick::window(*selector);
        window->resize(390, 720);
        selector->show();
        while (!vela::test::showsBanks(listOf(window))) QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window->grabWindow());
        state.SetIterationTime(threadSeconds() - start);
        selector.reset();
        QCoreApplication::processEvents();
    }
}

void bareList(benchmark::State& state) {
    application();
    QStringList names;
    for (const auto& name : vela::generator::bankNames(startBanks)) {
        names << QString::fromStdString(name);
    }
    for (auto _ : state) {
        const double start = threadSeconds();
        QQuickView view;
        view.rootContext()->setContextProperty(QStringLiteral("names"), names);
        view.resize(390, 720);
        QQmlComponent component(view.engine());
        component.setData(
            "import QtQuick\nListView { anchors.fill: parent; spacing: 8; model: names;"
            " delegate: Rectangle { width: ListView.view.width; height: 66; radius: 12;"
            " color: '#f2f4f7'; Text { x: 66; anchors.verticalCenter: parent.verticalCenter;"
            " font.pixelSize: 18; text: modelData } } }",
            QUrl());
        auto* list = qobject_cast<QQuickItem*>(component.create(view.rootContext()));
        list->setParentItem(view.contentItem());
        list->setSize(QSizeF(390, 720));
        view.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(view.grabWindow());
        state.SetIterationTime(threadSeconds() - start);
        delete list;
    }
}

long residentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

/// Scrolls a screenful at a time from the first bank to the last, letting
/// every visible row's logo arrive, and reports how much the resident set
/// grew on the way, beyond what the list's rows themselves take.
void scrollMemory(benchmark::State& state) {
    application();
    const bool large = state.range(0) > static_cast<long>(startBanks);
    for (auto _ : state) {
        auto selector =
            velawidget::VelaWidgetSDK::shared().bankListViewController(large ? subLink : qrLink);
        auto* window = velawidget::quick::window(*selector);
        window->resize(390, 720);
        selector->show();
        auto* list = listOf(window);
        while (!vela::test::showsBanks(list) ||
               list->property("count").toLongLong() < state.range(0)) {
            QCoreApplication::processEvents();
        }
        const long before = residentKilobytes();
        const int count = list->property("count").toInt();
        long peak = before;
        for (int row = 0; row < count; row += 10) {
            QMetaObject::invokeMethod(list, "positionViewAtIndex", Q_ARG(int, row),
                                      Q_ARG(int, 1 /* ListView.Beginning */));
            QCoreApplication::processEvents();
            QThreadPool::globalInstance()->waitForDone();
            QCoreApplication::processEvents();
            // Rows that left the view go with deleteLater, which an event loop
            // would run at once; processEvents alone leaves them pending.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            (void)window->grabWindow();
            if (row % 500 == 0) peak = std::max(peak, residentKilobytes());
        }
        peak = std::max(peak, residentKilobytes());
        state.counters["rss_growth_kib"] = static_cast<double>(peak - before);
        state.counters["rows"] = count;
    }
}

const bool registered = [] {
    // Both timed as main-thread CPU time: wall time on a shared machine
    // swings more than the difference being measured.
    benchmark::RegisterBenchmark("selector_start/kit", selectorStart)
        ->Arg(startBanks)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(20);
    benchmark::RegisterBenchmark("selector_start/bare_list", bareList)
        ->Arg(startBanks)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(20);
    benchmark::RegisterBenchmark("selector_scroll/kit", scrollMemory)
        ->Arg(1000)
        ->Arg(10000)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    vela::bench::addPairing(
        {"selector first frame from cache vs bare QML list", "selector_start", "kit", "bare_list"});
    return true;
}();

}  // namespace
