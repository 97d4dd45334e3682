// The Qt platform alone: HTTP against the sandbox over TLS, the opener in a
// private desktop, threads, translations, and the logo decoder's limits.

#include <gtest/gtest.h>
#include <velawidget/quick/QtPlatform.h>

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QTest>
#include <QThread>
#include <QTranslator>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>

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
                return std::make_shared<velawidget::quick::QtHttpClient>(options);
            }};
}

}  // namespace vela::test

namespace velawidget::quick {
namespace {

using namespace std::chrono_literals;
using vela::test::Completions;
using vela::test::SandboxProcess;

TEST(QtPlatform, CreatingItTouchesNoFile) {
    vela::test::TempDir caches;
    {
        QtPlatformOptions inCaches;
        inCaches.cachesDirectory = caches.path();
        const Platform platform = qtPlatform(inCaches);
    }
    EXPECT_TRUE(std::filesystem::is_empty(caches.path()));
}

// XDG directories of the test's own (GIO reads them once per process): one
// handler that starts and one that cannot. The link's arrival is tests/e2e's.
struct PrivateDesktop {
    vela::test::TempDir dir;
    PrivateDesktop() {
        const std::string entry =
            "[Desktop Entry]\nType=Application\nName=Bank app\nExec=true %u\n";
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
};

TEST(QtUrlOpener, SucceedsOnlyWhenTheSchemesRegisteredHandlerWasLaunched) {
    static PrivateDesktop desktop;
    QtUrlOpener opener;
    const std::pair<const char*, bool> links[] = {
        {"velabank-q00://qr.vela.example/AS1?type=02&sum=1%20000", true},
        {"x-bank+pay.v2-1://sub.vela.example/AS2", true},
        {"nobodypay://qr.vela.example/x", false},
        {"brokenpay://qr.vela.example/x", false},
        {"FILE:///etc/passwd", false},
        {"javascript:alert(1)", false}};
    for (const auto& [url, launched] : links) {
        std::optional<bool> answer;
        opener.open(url, [&](bool opened) {
            EXPECT_EQ(QThread::currentThread(), qApp->thread());
            answer = opened;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return answer.has_value(); }, 10000)) << url;
        EXPECT_EQ(answer, launched) << url;
    }
}

TEST(QtPlatform, MainQueueTimersAndOpenerAnswerOnTheGuiThreadWhicheverThreadMadeThem) {
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
    (void)QTest::qWaitFor([&] { return ranOn.size() >= 4; }, 10000);
    EXPECT_EQ(ranOn, std::vector<QThread*>(4, qApp->thread()));
}

TEST(QtTexts, EveryKeyIsListedEachLocaleFindsItsTableAndTheHostsFileComesFirst) {
    // Every key the kit forms is on the list the tables are kept by.
    const auto listed = kitTextKeys();
    std::vector<std::string> keys(listed.begin(), listed.end());
    std::vector<std::string> formed{"LS.VelaWidget.qrDescriptionText",
                                    "LS.VelaWidget.subDescriptionText",
                                    "LS.VelaWidget.DescriptionText"};
    for (std::size_t i = 0; i < fixedTextCount; ++i)
        formed.emplace_back(fixedTextKey(static_cast<FixedText>(i)));
    std::sort(keys.begin(), keys.end());
    std::sort(formed.begin(), formed.end());
    EXPECT_EQ(keys, formed);

    // Each locale reaches its table (translation_tables checks completeness).
    const std::pair<const char*, const char*> languages[] = {
        {"de_AT", "de"}, {"ar", "ar"}, {"ja", "en"}, {"zh_CN", "zh_Hans"}};
    for (const auto& [locale, language] : languages) {
        const QtTexts texts(QtTexts::localeNamed(std::string(locale)));
        EXPECT_EQ(texts.language().toStdString(), language) << locale;
        EXPECT_EQ(texts.layoutDirection() == Qt::RightToLeft, language == std::string("ar"));
    }

    // The host's file comes first, per key; an unusable one leaves the tables.
    const QLocale german(QLocale::German);
    const QtTexts kit(german), host(german, std::filesystem::path(VELA_HOST_TEXTS));
    EXPECT_EQ(host.localized("LS.VelaWidget.retry"), "Nochmal laden");
    EXPECT_EQ(host.localized("LS.VelaWidget.error"), kit.localized("LS.VelaWidget.error"));
    vela::test::TempDir dir;
    dir.write("huge.qm", "");
    std::filesystem::resize_file(dir.path() / "huge.qm", maxHostTranslationBytes + 1);
    // Corpus: a file depending on itself (Qt recurses), a context past its block.
    const std::filesystem::path corpus(VELA_QM_CORPUS);
    for (const auto& path :
         {dir / "missing.qm", dir / "huge.qm", corpus / "not-a-qm.txt",
          corpus / "dependency-on-itself.qm", corpus / "context-offset-past-block.qm"}) {
        vela::test::DebugCapture debug;
        const QtTexts fallback(german, path);
        EXPECT_FALSE(fallback.hasHostTexts()) << path;
        EXPECT_EQ(fallback.localized("LS.VelaWidget.retry"), kit.localized("LS.VelaWidget.retry"))
            << path;
        EXPECT_EQ(debug.linesStartingWith("host translation file").size(), 1u) << path;
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
        {svg("<linearGradient>" + QByteArray("<stop/>").repeated(65) + "</linearGradient>"),
         std::nullopt},
        {svg(QByteArray("<g>").repeated(30) + QByteArray("</g>").repeated(30)), std::nullopt},
        {svg(rect.repeated(2001)), std::nullopt},
        // What drawing costs is counted before drawing, each `use` counting
        // what it names again: a long text drawn 63 times took 12 s.
        {svg(R"x(<defs><text id="t">)x" + QByteArray("W").repeated(16000) + "</text></defs>" +
             QByteArray(R"x(<use xlink:href="#t"/>)x").repeated(63)),
         std::nullopt},
        {svg(R"x(<text id="t">)x" + QByteArray("W").repeated(100) + "</text>"), "WWW"},
        {svg(R"x(<text id="t">)x" + QByteArray("W").repeated(100) +
             R"x(</text><use xlink:href="#t"/>)x"),
         std::nullopt},
        {svg(R"x(<g id="g">)x" + QByteArray(R"x(<rect width="1" height="1"/>)x").repeated(100) +
             "</g>" + QByteArray(R"x(<use xlink:href="#g"/>)x").repeated(40)),
         std::nullopt},
        {svg(R"x(<path id="p" d=")x" + QByteArray("l1 1").repeated(5000) + R"x("/>)x"), "<path"},
        {svg(R"x(<path id="p" d=")x" + QByteArray("l1 1").repeated(5000) +
             R"x("/><use xlink:href="#p"/>)x"),
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
        EXPECT_FALSE(*c.gone && clean->contains(c.gone)) << clean->toStdString();
        EXPECT_FALSE(clean->contains("image") || clean->contains("script"));
        EXPECT_FALSE(decodeLogo(c.input).isNull()) << "the rest is drawn";
    }
}

}  // namespace
}  // namespace velawidget::quick
