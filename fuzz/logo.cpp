// Logo bytes, as they arrive from whatever address a bank list names.
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "screens/LogoDecoder.h"

namespace {

// SVG logos may hold text, which needs the fonts of a GUI application.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "fuzz_logo";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ensureApplication();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const velawidget::LogoLimits limits;
    const QImage image = velawidget::decodeLogo(bytes, limits);
    if (image.isNull()) return 0;
    // Whatever decodes fits the box the tiles draw from, and is not empty.
    VELA_FUZZ_CHECK(image.width() > 0 && image.height() > 0);
    VELA_FUZZ_CHECK(image.width() <= limits.box.width() && image.height() <= limits.box.height());
    return 0;
}
