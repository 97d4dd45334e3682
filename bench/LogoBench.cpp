// The SVG sanitizer against the XML pass it is built on: a plain
// QXmlStreamReader walk over the same logo, which any sanitizer must pay.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QXmlStreamReader>
#include <map>

#include "Summary.h"
#include "screens/SvgSanitizer.h"

namespace {

/// A logo of `shapes` paths under gradients, as a drawing program writes it.
const QByteArray& logo(long shapes) {
    static std::map<long, QByteArray> logos;
    auto& bytes = logos[shapes];
    if (!bytes.isEmpty()) return bytes;
    bytes =
        R"svg(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" )svg"
        R"svg(width="120" height="120" viewBox="0 0 120 120"><defs><linearGradient id="g">)svg"
        R"svg(<stop offset="0" stop-color="#1F6FEB"/><stop offset="1" stop-color="#12B886"/>)svg"
        R"svg(</linearGradient></defs><!-- exported --><g transform="translate(2 2)">)svg";
    for (long i = 0; i < shapes; ++i) {
        bytes += R"svg(<path id="p)svg" + QByteArray::number(i) +
                 R"svg(" d="M4 28 L18 4 L18 28 Z C 10 10 20 20 30 30" fill="url(#g)" )svg"
                 R"svg(style="stroke:#000;stroke-width:0.5" class="s"/>)svg";
    }
    bytes += "<text x=\"4\" y=\"110\" font-size=\"12\">Vela Bank</text></g></svg>";
    return bytes;
}

void sanitize(benchmark::State& state) {
    const auto& bytes = logo(state.range(0));
    // The pass itself is measured: the larger sizes hold more path data than
    // a logo may draw, which would otherwise be refused part way.
    velawidget::SvgLimits limits;
    limits.maxPathData = limits.maxBytes;
    for (auto _ : state) {
        auto clean = velawidget::sanitizeSvg(bytes, limits);
        benchmark::DoNotOptimize(clean);
        if (!clean) state.SkipWithError("the logo was refused");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void xmlRead(benchmark::State& state) {
    const auto& bytes = logo(state.range(0));
    for (auto _ : state) {
        QXmlStreamReader reader(bytes);
        qsizetype attributes = 0;
        while (!reader.atEnd()) {
            if (reader.readNext() == QXmlStreamReader::StartElement) {
                attributes += reader.attributes().size();
            }
        }
        benchmark::DoNotOptimize(attributes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void sizes(benchmark::internal::Benchmark* bench) {
    for (long shapes : {10, 100, 1000, 1900}) bench->Arg(shapes);
    bench->Unit(benchmark::kMicrosecond);
}

const bool registered = [] {
    benchmark::RegisterBenchmark("svg_sanitize/kit", sanitize)->Apply(sizes);
    benchmark::RegisterBenchmark("svg_sanitize/xml_read", xmlRead)->Apply(sizes);
    vela::bench::addPairing(
        {"SVG sanitizer vs QXmlStreamReader pass", "svg_sanitize", "kit", "xml_read"});
    return true;
}();

}  // namespace
