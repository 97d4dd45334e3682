// Logo bytes, as they arrive from whatever address a bank list names.
#include <QByteArray>
#include <QImage>
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "GuiApplication.h"
#include "screens/LogoDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vela::fuzz::ensureGuiApplication();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const velawidget::LogoLimits limits;
    const QImage image = velawidget::decodeLogo(bytes, limits);
    if (image.isNull()) return 0;
    // Whatever decodes fits the box the tiles draw from, and is not empty.
    VELA_FUZZ_CHECK(image.width() > 0 && image.height() > 0);
    VELA_FUZZ_CHECK(image.width() <= limits.box.width() && image.height() <= limits.box.height());
    return 0;
}
