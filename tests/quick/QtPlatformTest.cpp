// The Qt platform on its own: the network thread against the sandbox over
// TLS (the shared client contract plus its disk cache), the opener's
// refusals and handler lookup, the private translations, and the logo
// decoder's limits.

#include <gtest/gtest.h>
#include <velawidget/quick/QtPlatform.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QTranslator>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "contract/HttpClientContract.h"
#include "platform/qt/QtHttpClient.h"
#include "platform/qt/QtTexts.h"
#include "platform/qt/QtUrlOpener.h"
#include "screens/LogoDecoder.h"
#include "screens/SvgSanitizer.h"
#include "support/Completions.h"
#include "support/SandboxProcess.h"
#include "support/TempDir.h"

namespace vela::test {

ClientUnderTest clientUnderTest() {
    return {"qt", [](const ClientSetup& setup) {
                velawidget::quick::QtHttpClientOptions options;
                options.caFile = setup.caFile;
                options.connectTo = setup.connectTo;
                options.cacheDirectory = setup.cacheDirectory;
                options.timeoutOverride = setup.timeoutOverride;
                if (setup.overallLimit) options.overallLimit = *setup.overallLimit;
                if (setup.maxBodyBytes) options.maxBodyBytes = *setup.maxBodyBytes;
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
    options.connectTo =
        std::make_pair(std::string("127.0.0.1"), static_cast<std::uint16_t>(sandbox.port()));
    options.cacheDirectory = caches.path() / "http-cache";
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
            EXPECT_EQ(sandbox.stat("logos"), before + 1);
            sandbox.stop();
        }
    }
}

// A stand-in for xdg-mime that answers for one scheme and logs every question.
struct FakeXdgMime {
    vela::test::TempDir dir;
    std::filesystem::path script = dir.path() / "xdg-mime";
    std::filesystem::path log = dir.path() / "asked";
    FakeXdgMime() {
        std::ofstream out(script);
        out << "#!/bin/sh\necho \"$3\" >> '" << log.string() << "'\n"
            << "[ \"$3\" = x-scheme-handler/alphapay ] && echo alphapay.desktop\nexit 0\n";
        out.close();
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    }
    std::string asked() const { return readFile(log).value_or(""); }
};

std::optional<bool> openAndWait(QtUrlOpener& opener, const std::string& url) {
    std::optional<bool> answer;
    opener.open(url, [&](bool opened) { answer = opened; });
    QElapsedTimer timer;
    timer.start();
    while (!answer && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return answer;
}

TEST(QtUrlOpener, RefusesLocalAndRelativeLinksAndSchemesWithoutAHandler) {
    FakeXdgMime xdg;
    QtUrlOpener opener(QString::fromStdString(xdg.script.string()));
    for (const char* refused : {"file:///etc/passwd", "FILE:///etc/passwd", "data:text/html,hi",
                                "javascript:alert(1)", "bank/relative?x=1", "", "//host/path"}) {
        EXPECT_EQ(openAndWait(opener, refused), std::optional<bool>(false)) << refused;
    }
    EXPECT_EQ(xdg.asked(), "") << "refused links are never looked up";

    EXPECT_EQ(openAndWait(opener, "betapay://qr.vela.example/x"), std::optional<bool>(false));
    EXPECT_EQ(xdg.asked(), "x-scheme-handler/betapay\n");
    EXPECT_EQ(QtUrlOpener::openableScheme("alphapay://qr.vela.example/x"),
              QStringLiteral("alphapay"));
    // A missing lookup program means no handler, not a crash or a hang.
    QtUrlOpener broken(QStringLiteral("/nonexistent/xdg-mime"));
    EXPECT_EQ(openAndWait(broken, "alphapay://qr.vela.example/x"), std::optional<bool>(false));
}

TEST(QtTexts, PrivateTablesWithEnglishAsFallbackAndTheKeyForMissingEntries) {
    const QtTexts english(QLocale(QLocale::English));
    EXPECT_EQ(english.localized("LS.VelaWidget.ok"), "OK");
    EXPECT_EQ(english.localized("LS.VelaWidget.error"), "Error");
    EXPECT_EQ(english.localized("LS.VelaWidget.noSuchKey"), "LS.VelaWidget.noSuchKey");
    const QtTexts german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(german.language(), QStringLiteral("de"));
    EXPECT_EQ(german.localized("LS.VelaWidget.error"), "Fehler");
    // A language without a table gets English.
    EXPECT_EQ(QtTexts(QLocale(QLocale::Japanese)).localized("LS.VelaWidget.error"), "Error");

    // A translator the host installs for the same keys changes nothing.
    QTranslator host;
    ASSERT_TRUE(host.load(QStringLiteral(":/VelaWidget/i18n/velawidget_de.qm")));
    QCoreApplication::installTranslator(&host);
    EXPECT_EQ(QtTexts(QLocale(QLocale::English)).localized("LS.VelaWidget.error"), "Error");
    QCoreApplication::removeTranslator(&host);
}

quint32 crc32(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

TEST(LogoDecoder, DecodesWithinItsLimitsAndRefusesTheRest) {
    QImage wide(400, 100, QImage::Format_ARGB32);
    wide.fill(Qt::blue);
    const QImage small = decodeLogo(encoded(wide, "PNG"));
    EXPECT_EQ(small.width(), 150) << "scaled to the box";
    EXPECT_NEAR(small.height(), 37.5, 1) << "aspect kept";
    QImage tiny(20, 10, QImage::Format_ARGB32);
    tiny.fill(Qt::red);
    EXPECT_EQ(decodeLogo(encoded(tiny, "PNG")).size(), QSize(20, 10)) << "never scaled up";

    QFile svg(QStringLiteral(":/VelaWidget/images/vela_logo.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_FALSE(decodeLogo(svg.readAll()).isNull());

    EXPECT_TRUE(decodeLogo("not an image").isNull());
    EXPECT_TRUE(decodeLogo({}).isNull());
    LogoLimits strict;
    strict.maxStoredPixels = 100 * 100;
    EXPECT_TRUE(decodeLogo(encoded(wide, "PNG"), strict).isNull()) << "too many stored pixels";
    strict = {};
    strict.maxBytes = 10;
    EXPECT_TRUE(decodeLogo(encoded(tiny, "PNG"), strict).isNull()) << "too many bytes";
    // A PNG header claiming 60000 x 60000 pixels is refused before decoding.
    QByteArray bomb = encoded(tiny, "PNG");
    const unsigned char huge[8] = {0x00, 0x00, 0xEA, 0x60, 0x00, 0x00, 0xEA, 0x60};
    bomb.replace(16, 8, reinterpret_cast<const char*>(huge), 8);
    const quint32 crc = crc32(bomb.mid(12, 17));  // chunk type and data
    for (int i = 0; i < 4; ++i) bomb[29 + i] = static_cast<char>((crc >> (24 - 8 * i)) & 0xFF);
    QBuffer header(&bomb);
    ASSERT_EQ(QImageReader(&header).size(), QSize(60000, 60000)) << "a valid header";
    EXPECT_TRUE(decodeLogo(bomb).isNull());
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
        {svg(R"x(<image xlink:href="/dev/ptmx" width="9" height="9"/>)x" + rect), "<rect", "ptmx"},
        {svg(R"x(<image href="file:///etc/passwd"/><foreignObject><rect/></foreignObject>)x"
             R"x(<script>alert(1)</script>)x" +
             rect),
         "<rect", "passwd"},
        {svg(rect + R"x(<use xlink:href="#a" x="20"/><g id="b"><use xlink:href="#a"/></g>)x"
                    R"x(<use xlink:href="#b"/><use xlink:href="#later"/><use href="x.svg#a"/>)x"),
         R"x(<use x="20" xlink:href="#a"/>)x", "#b"},
        {svg(R"x(<rect fill="url(https://x.example/f.svg#p)" stroke="url(#g)" onload="x()")x"
             R"x( style="fill:url(file:///etc/x)"/>)x"),
         R"x(stroke="url(#g)")x", "x.example"},
        {svg(R"x(<linearGradient id="g"><stop offset="0"/><stop offset="1"/></linearGradient>)x"),
         "<stop", ""},
        {"<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" \"http://www.w3.org/svg11.dtd\">" +
             svg(rect),
         "<rect", "DOCTYPE"},
        {R"x(<!DOCTYPE svg [<!ENTITY e SYSTEM "file:///etc/passwd">]>)x" + svg("<text>&e;</text>"),
         std::nullopt},
        {svg("<style>@import url(https://x.example/a.css);</style>"), std::nullopt},
        {svg("<linearGradient>" + repeated("<stop/>", 65) + "</linearGradient>"), std::nullopt},
        {svg(repeated("<g>", 30) + repeated("</g>", 30)), std::nullopt},
        {svg(repeated(rect, 2001)), std::nullopt},
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
