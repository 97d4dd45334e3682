// The Qt platform on its own: the network thread against the sandbox over
// TLS (the shared client contract plus its disk cache), the opener against
// a handler registered in a private desktop, the main queue's thread, the
// translations and their lookup chain, and the logo decoder's limits.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <velawidget/quick/QtPlatform.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QNetworkCacheMetaData>
#include <QNetworkDiskCache>
#include <QNetworkRequest>
#include <QThread>
#include <QTranslator>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "contract/HttpClientContract.h"
#include "core/Texts.h"
#include "platform/qt/HostTranslation.h"
#include "platform/qt/QtHttpClient.h"
#include "platform/qt/QtTextKeys.h"
#include "platform/qt/QtTexts.h"
#include "platform/qt/QtUrlOpener.h"
#include "screens/LogoDecoder.h"
#include "screens/SvgSanitizer.h"
#include "support/Completions.h"
#include "support/DebugCapture.h"
#include "support/SandboxProcess.h"
#include "support/TempDir.h"

namespace vela::test {

ClientUnderTest clientUnderTest() {
    return {"qt", [](const ClientSetup& setup) {
                velawidget::quick::QtHttpClientOptions options;
                static_cast<velawidget::HttpClientOptions&>(options) = setup;
                options.cacheDirectory = setup.cacheDirectory;
                return std::make_shared<velawidget::quick::QtHttpClient>(options);
            }};
}

}  // namespace vela::test

namespace velawidget::quick {
namespace {

using namespace std::chrono_literals;
using vela::test::Completions;
using vela::test::readFile;
using vela::test::SandboxProcess;

TEST(QtHttpClient, MakesItsDiskCacheAtFirstNeedAndAnswersFromItOffline) {
    vela::test::TempDir caches;
    {
        QtPlatformOptions inCaches;
        inCaches.cachesDirectory = caches.path();
        const Platform platform = qtPlatform(inCaches);
    }
    EXPECT_TRUE(std::filesystem::is_empty(caches.path())) << "creation touches no file";

    SandboxProcess sandbox;
    QtHttpClientOptions options;
    options.caFile = sandbox.certFile();
    options.connectTo = sandbox.address();
    // Made at the first logo, the owner's alone whatever the umask.
    options.cacheDirectory = caches.path() / "app" / "http-cache";
    const mode_t umaskBefore = ::umask(0);
    // A compressed answer with a lifetime, as the SVG logos come.
    const std::string logo = "https://qr.vela.example/logos/1.svg";
    const auto before = sandbox.stat("logos");
    for (int round = 0; round < 2; ++round) {
        // A new client each time: only the disk can answer the second, and
        // by then the server is gone.
        Completions done;
        {
            QtHttpClient client(options);
            client.get({logo, 60s, CachePolicy::useCacheFirst}, done.recorder());
            ASSERT_TRUE(done.waitFor(1));
        }
        ASSERT_TRUE(done.bodies.at(0));
        EXPECT_EQ(done.bodies[0]->rfind("<svg", 0), 0u);
        if (round == 0) {
            ::umask(umaskBefore);
            for (const auto& made : {caches.path() / "app", *options.cacheDirectory}) {
                EXPECT_EQ(std::filesystem::status(made).permissions(),
                          std::filesystem::perms::owner_all)
                    << made;
            }
            EXPECT_EQ(sandbox.stat("logos"), before + 1);
            sandbox.stop();
            // The entry is one Qt's own cache would write and read back: Qt
            // 6.8 answers from none without a status, type, length and date.
            QNetworkDiskCache disk;
            disk.setCacheDirectory(QString::fromStdString(options.cacheDirectory->string()));
            const QNetworkCacheMetaData entry = disk.metaData(QUrl(QString::fromStdString(logo)));
            ASSERT_TRUE(entry.isValid());
            EXPECT_TRUE(entry.saveToDisk());
            EXPECT_EQ(entry.attributes().value(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                      200);
            QByteArray type, length;
            for (const auto& [name, value] : entry.rawHeaders()) {
                if (name.compare("Content-Type", Qt::CaseInsensitive) == 0) type = value;
                if (name.compare("Content-Length", Qt::CaseInsensitive) == 0) length = value;
                EXPECT_NE(name.compare("Content-Encoding", Qt::CaseInsensitive), 0)
                    << "the body is stored decoded";
            }
            EXPECT_EQ(type, "image/svg+xml");
            EXPECT_EQ(length.toLongLong(), static_cast<qint64>(done.bodies[0]->size()));
            EXPECT_TRUE(entry.lastModified().isValid());
            EXPECT_GT(entry.expirationDate(), QDateTime::currentDateTimeUtc()) << "max-age=86400";
        }
    }
}

// A desktop of the test's own: XDG directories in a temporary folder where a
// script, registered as the handler of two schemes, appends every link it is
// launched with to a file. GIO reads the directories once per process, so they
// are set before its first use and stay for the whole run.
struct PrivateDesktop {
    vela::test::TempDir dir;
    std::filesystem::path received = dir / "received";
    PrivateDesktop() {
        dir.write("bank-app", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + received.string() + "'\n");
        std::filesystem::permissions(dir / "bank-app", std::filesystem::perms::owner_all);
        const std::string entry = "[Desktop Entry]\nType=Application\nName=Bank app\nExec=" +
                                  (dir / "bank-app").string() + " %u\n";
        dir.write("data/applications/bank-app.desktop", entry);
        // Registered, but it cannot start: its working directory is missing.
        dir.write("data/applications/broken-app.desktop",
                  entry + "Path=" + (dir / "missing").string() + "\n");
        // As `xdg-mime default` registers a handler.
        dir.write("config/mimeapps.list",
                  "[Default Applications]\nx-scheme-handler/velabank-q00=bank-app.desktop\n"
                  "x-scheme-handler/x-bank+pay.v2-1=bank-app.desktop\n"
                  "x-scheme-handler/brokenpay=broken-app.desktop\n");
        for (const auto& [variable, folder] : {std::pair{"XDG_DATA_HOME", "data"},
                                               {"XDG_CONFIG_HOME", "config"},
                                               {"XDG_DATA_DIRS", "system-data"},
                                               {"XDG_CONFIG_DIRS", "system-config"}}) {
            std::filesystem::create_directories(dir / folder);
            qputenv(variable, QByteArray::fromStdString((dir / folder).string()));
        }
    }
    std::string receivedLinks() const { return readFile(received).value_or(""); }
};

std::optional<bool> openAndWait(QtUrlOpener& opener, const std::string& url) {
    std::optional<bool> answer;
    opener.open(url, [&](bool opened) {
        EXPECT_EQ(QThread::currentThread(), qApp->thread());
        answer = opened;
    });
    QElapsedTimer timer;
    timer.start();
    while (!answer && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return answer;
}

TEST(QtUrlOpener, SucceedsOnlyWhenTheSchemesRegisteredHandlerWasLaunched) {
    static PrivateDesktop desktop;
    QtUrlOpener opener;
    const std::string digits = "velabank-q00://qr.vela.example/AS1?type=02&sum=1%20000";
    const std::string symbols = "x-bank+pay.v2-1://sub.vela.example/AS2";
    const std::string opened = "opened link with bank-app.desktop";
    const std::string refused = "refusing to open link";
    // Each link and the line the opener says about it.
    std::vector<std::pair<std::string, std::string>> cases = {
        {digits, opened},
        {symbols, opened},
        {"nobodypay://qr.vela.example/x", "no application handles"},
        {"brokenpay://qr.vela.example/x", "launching the link's handler failed, broken-app"}};
    for (const char* url : {"FILE:///etc/passwd", "javascript:alert(1)", "bank/relative?x=1", ""})
        cases.emplace_back(url, refused);
    vela::test::DebugCapture debug;
    for (const auto& [url, line] : cases) {
        debug.clear();
        EXPECT_EQ(openAndWait(opener, url), line == opened) << url;
        EXPECT_EQ(debug.linesStartingWith(line).size(), 1u) << url;
    }
    // The handler runs on its own; each launch leaves exactly its link, once.
    QElapsedTimer timer;
    timer.start();
    std::string received;
    auto lines = [&] {
        received = desktop.receivedLinks();
        return std::count(received.begin(), received.end(), '\n');
    };
    while (lines() < 2 && timer.elapsed() < 10000) QThread::msleep(20);
    EXPECT_TRUE(received == digits + "\n" + symbols + "\n" ||
                received == symbols + "\n" + digits + "\n")
        << received;
}

TEST(QtPlatform, MainQueueTimersAndOpenerAnswerOnTheGuiThreadWhicheverThreadMadeThem) {
    // Recorded only here: every call must come back to this thread.
    std::vector<QThread*> ranOn;
    auto record = [&] { ranOn.push_back(QThread::currentThread()); };
    Platform platform;
    std::thread worker([&] {
        platform = qtPlatform();
        platform.mainQueue->async(record);
        platform.scheduler->scheduleAfter(1ms, record);
        platform.urlOpener->open("file:///etc/passwd", [&](bool) { record(); });
    });
    worker.join();
    platform.scheduler->scheduleAfter(1ms, record);
    QElapsedTimer timer;
    timer.start();
    while (ranOn.size() < 4 && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(ranOn, std::vector<QThread*>(4, qApp->thread()));
}

TEST(QtTexts, EveryKeyIsListedEachLocaleFindsItsTableAndTheHostsFileComesFirst) {
    // Every key the kit forms is on the list the tables are kept by.
    const auto keys = kitTextKeys();
    std::vector<std::string> formed{"LS.VelaWidget.qrDescriptionText",
                                    "LS.VelaWidget.subDescriptionText",
                                    "LS.VelaWidget.DescriptionText"};
    for (std::size_t i = 0; i < fixedTextCount; ++i)
        formed.emplace_back(fixedTextKey(static_cast<FixedText>(i)));
    for (const auto& key : formed)
        EXPECT_NE(std::find(keys.begin(), keys.end(), key), keys.end()) << key;
    EXPECT_EQ(keys.size(), formed.size());

    // The locale names a host passes reach their table (CTest's
    // translation_tables checks each table is complete).
    const std::pair<const char*, const char*> languages[] = {
        {"de_AT", "de"}, {"es-MX", "es"}, {"ar", "ar"}, {"ja", "en"}, {"zh_CN", "zh_Hans"}};
    for (const auto& [locale, language] : languages) {
        const QtTexts texts(QtTexts::localeNamed(std::string(locale)));
        EXPECT_EQ(texts.language().toStdString(), language) << locale;
        EXPECT_EQ(texts.layoutDirection() == Qt::RightToLeft, language == std::string("ar"));
    }
    EXPECT_EQ(QtTexts().localized("LS.VelaWidget.noSuchKey"), "LS.VelaWidget.noSuchKey");

    // The host's file beats the kit's table for its key; its other keys
    // fall back to the table. A file that cannot be used leaves the tables.
    const QLocale german(QLocale::German);
    const QtTexts kit(german), host(german, std::filesystem::path(VELA_HOST_TEXTS));
    EXPECT_TRUE(host.hasHostTexts());
    EXPECT_EQ(host.localized("LS.VelaWidget.retry"), "Nochmal laden");
    EXPECT_EQ(host.localized("LS.VelaWidget.error"), kit.localized("LS.VelaWidget.error"));
    vela::test::TempDir dir;
    dir.write("huge.qm", "");
    std::filesystem::resize_file(dir.path() / "huge.qm", maxHostTranslationBytes + 1);
    // The hostile files from the fuzz corpus: a dependencies block naming the
    // file itself (Qt would load it until the stack runs out), and a context
    // chain starting past its block (Qt would read there at the first lookup).
    const std::filesystem::path corpus(VELA_QM_CORPUS);
    const std::pair<std::filesystem::path, const char*> unusable[] = {
        {dir / "missing.qm", "host translation file missing"},
        {dir.path(), "host translation file missing or not a file"},
        {dir / "huge.qm", "host translation file larger than 4194304 bytes"},
        {corpus / "not-a-qm.txt", "host translation file is not a compiled translation"},
        {corpus / "dependency-on-itself.qm",
         "host translation file is not a compiled translation the kit can use "
         "(names other translation files it depends on)"},
        {corpus / "context-offset-past-block.qm",
         "host translation file is not a compiled translation the kit "
         "can use (context chain past its block)"},
    };
    for (const auto& [path, line] : unusable) {
        vela::test::DebugCapture debug;
        const QtTexts fallback(german, path);
        EXPECT_FALSE(fallback.hasHostTexts()) << path;
        EXPECT_EQ(fallback.localized("LS.VelaWidget.retry"), kit.localized("LS.VelaWidget.retry"))
            << path;
        EXPECT_EQ(debug.linesStartingWith(line).size(), 1u) << path;
    }

    // A translator the host installs for the same keys changes nothing.
    QTranslator installed;
    ASSERT_TRUE(installed.load(QStringLiteral(":/VelaWidget/i18n/velawidget_de.qm")));
    QCoreApplication::installTranslator(&installed);
    EXPECT_EQ(QtTexts(QLocale(QLocale::English)).localized("LS.VelaWidget.error"), "Error");
    QCoreApplication::removeTranslator(&installed);
}

QByteArray corpus(const char* name) {
    QFile file(QStringLiteral(VELA_LOGO_CORPUS "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(LogoDecoder, DecodesWithinItsLimitsAndRefusesTheRest) {
    QByteArray wide = corpus("wide.png"), square = corpus("square.png");
    QByteArray bomb = corpus("bomb-header.png");
    QBuffer header(&bomb);
    ASSERT_EQ(QImageReader(&header).size(), QSize(60000, 60000)) << "a valid header";
    EXPECT_EQ(decodeLogo(wide).size(), QSize(150, 30)) << "scaled to the box, aspect kept";
    EXPECT_EQ(decodeLogo(square).size(), QSize(16, 16)) << "never scaled up";

    LogoLimits pixels, bytes;
    pixels.maxStoredPixels = 100 * 100;
    bytes.maxBytes = 10;
    const std::pair<QByteArray, LogoLimits> refused[] = {
        {"not an image", {}}, {{}, {}}, {wide, pixels}, {square, bytes}, {bomb, {}}};
    for (const auto& [input, limits] : refused)
        EXPECT_TRUE(decodeLogo(input, limits).isNull()) << input.left(40).toStdString();
}

QByteArray svg(const QByteArray& body) {
    return R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" )"
           R"(width="40" height="20">)" +
           body + "</svg>";
}

QByteArray repeated(const QByteArray& part, int times) {
    QByteArray all;
    for (int i = 0; i < times; ++i) all += part;
    return all;
}

TEST(SvgSanitizer, KeepsTheDrawingAndNothingThatReachesOutside) {
    const QByteArray rect = R"x(<rect id="a" width="10" height="10" fill="#123456"/>)x";
    const struct {
        QByteArray input;
        std::optional<const char*> kept;  // none: refused whole
        const char* gone = "";
    } cases[] = {
        {svg(R"x(<image xlink:href="/dev/ptmx"/>)x"
             R"x(<image href="file:///etc/passwd"/><foreignObject><rect/></foreignObject>)x"
             R"x(<script>alert(1)</script>)x" +
             rect),
         "<rect", "passwd"},
        {svg(rect + R"x(<use xlink:href="#a" x="20"/><g id="b"><use xlink:href="#a"/></g>)x"
                    R"x(<use xlink:href="#b"/><use xlink:href="#later"/><use href="x.svg#a"/>)x"),
         R"x(<use x="20" xlink:href="#a"/>)x", "#b"},
        {svg(R"x(<rect fill="url(https://x.example/f.svg#p)" stroke="url(#g)" onload="x()")x"
             R"x( style="fill:url(file:///etc/x)"/>)x"),
         R"x(stroke="url(#g)")x", "x.example"},
        {svg(R"x(<path d="M0 0v20" stroke="#000" stroke-dasharray="0.01" style="stroke-dasharray:1"/>)x"),
         "<path", "dash"},
        {svg(R"x(<linearGradient id="g"><stop offset="0"/><stop offset="1"/></linearGradient>)x"),
         "<stop", ""},
        {svg("<linearGradient>" + repeated("<stop/>", 65) + "</linearGradient>"), std::nullopt},
        {svg(repeated("<g>", 30) + repeated("</g>", 30)), std::nullopt},
        {svg(repeated(rect, 2001)), std::nullopt},
        // What drawing costs is counted before drawing, each `use` counting
        // what it names again: a long text drawn 63 times took 12 s.
        {svg(R"x(<defs><text id="t">)x" + repeated("W", 16000) + "</text></defs>" +
             repeated(R"x(<use xlink:href="#t"/>)x", 63)),
         std::nullopt},
        {svg(R"x(<text id="t">)x" + repeated("W", 100) + "</text>"), "WWW"},
        {svg(R"x(<text id="t">)x" + repeated("W", 100) + R"x(</text><use xlink:href="#t"/>)x"),
         std::nullopt},
        {svg(R"x(<g id="g">)x" + repeated(R"x(<rect width="1" height="1"/>)x", 100) + "</g>" +
             repeated(R"x(<use xlink:href="#g"/>)x", 40)),
         std::nullopt},
        {svg(R"x(<path id="p" d=")x" + repeated("l1 1", 5000) + R"x("/>)x"), "<path"},
        {svg(R"x(<path id="p" d=")x" + repeated("l1 1", 5000) + R"x("/><use xlink:href="#p"/>)x"),
         std::nullopt},
        {"<html><svg/></html>", std::nullopt},
        {svg("<rect>"), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input.left(120).toStdString());
        const auto clean = sanitizeSvg(c.input);
        ASSERT_EQ(clean.has_value(), c.kept.has_value());
        if (!clean) continue;
        EXPECT_TRUE(clean->contains(*c.kept)) << clean->toStdString();
        if (*c.gone) {
            EXPECT_FALSE(clean->contains(c.gone)) << clean->toStdString();
        }
        EXPECT_FALSE(clean->contains("image") || clean->contains("script"));
        EXPECT_FALSE(decodeLogo(c.input).isNull()) << "the rest is drawn";
    }
}

}  // namespace
}  // namespace velawidget::quick

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
