// SVG logos, as a hostile logo server would write them: whatever the
// sanitizer keeps must be a document Qt's SVG reader accepts and must name
// nothing outside itself.
#include <QByteArray>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "GuiApplication.h"
#include "screens/SvgSanitizer.h"

namespace {

/// Every `url(` names a fragment of the document.
bool onlyLocalUrls(QStringView text) {
    for (qsizetype at = text.indexOf(u"url(", 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(u"url(", at + 1, Qt::CaseInsensitive)) {
        const QStringView rest = text.sliced(at + 4).trimmed();
        if (!rest.startsWith(u'#') && !rest.startsWith(u"'#") && !rest.startsWith(u"\"#")) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vela::fuzz::ensureGuiApplication();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto clean = velawidget::sanitizeSvg(bytes);
    if (!clean) return 0;

    QXmlStreamReader reader(*clean);
    std::vector<QString> open;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
            case QXmlStreamReader::DTD:
            case QXmlStreamReader::EntityReference:
            case QXmlStreamReader::ProcessingInstruction:
                VELA_FUZZ_CHECK(false);
                break;
            case QXmlStreamReader::StartElement: {
                const auto name = reader.name();
                open.push_back(name.toString());
                VELA_FUZZ_CHECK(name != u"image" && name != u"script" && name != u"foreignObject");
                for (const auto& attribute : reader.attributes()) {
                    if (attribute.name() == u"href") {
                        VELA_FUZZ_CHECK(attribute.value().startsWith(u'#'));
                    }
                    VELA_FUZZ_CHECK(!attribute.name().startsWith(u"on"));
                    VELA_FUZZ_CHECK(onlyLocalUrls(attribute.value()));
                }
                break;
            }
            case QXmlStreamReader::EndElement:
                open.pop_back();
                break;
            case QXmlStreamReader::Characters:
                // Style sheets are read by the renderer; other text is only drawn.
                if (!open.empty() && open.back() == u"style") {
                    VELA_FUZZ_CHECK(onlyLocalUrls(reader.text()));
                    VELA_FUZZ_CHECK(!reader.text().contains(u'@'));
                }
                break;
            default:
                break;
        }
    }
    VELA_FUZZ_CHECK(!reader.hasError());
    VELA_FUZZ_CHECK(QSvgRenderer(*clean).isValid());
    return 0;
}
