// Decoding a bank list against the two parsers that bound it: Boost.JSON's
// DOM parse of the same bytes (what any DOM walk must pay) and simdjson.
#include <benchmark/benchmark.h>
#include <simdjson.h>

#include <boost/json/parse.hpp>
#include <map>

#include "BankListGenerator.h"
#include "Summary.h"
#include "catalogue/BankListDocument.h"

namespace {

const std::string& document(std::size_t banks) {
    static std::map<std::size_t, std::string> documents;
    auto& text = documents[banks];
    if (text.empty()) text = vela::generator::bankListDocument({banks});
    return text;
}

void kit(benchmark::State& state) {
    const auto& bytes = document(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        auto result = velawidget::decodeBankList(bytes);
        benchmark::DoNotOptimize(result);
        if (result.index() != 0) state.SkipWithError("the document did not decode");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void boostParse(benchmark::State& state) {
    const auto& bytes = document(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        boost::json::error_code error;
        auto value = boost::json::parse(bytes, error);
        benchmark::DoNotOptimize(value);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void simdjsonParse(benchmark::State& state) {
    const simdjson::padded_string bytes(document(static_cast<std::size_t>(state.range(0))));
    simdjson::dom::parser parser;
    for (auto _ : state) {
        auto element = parser.parse(bytes);
        benchmark::DoNotOptimize(element);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void sizes(benchmark::internal::Benchmark* bench) {
    for (long banks : {100, 1000, 10000, 100000}) bench->Arg(banks);
    bench->Unit(benchmark::kMicrosecond);
}

const bool registered = [] {
    benchmark::RegisterBenchmark("decode/kit", kit)->Apply(sizes);
    benchmark::RegisterBenchmark("decode/boost_parse", boostParse)->Apply(sizes);
    benchmark::RegisterBenchmark("decode/simdjson", simdjsonParse)->Apply(sizes);
    vela::bench::addPairing({"decode vs Boost.JSON parse", "decode", "kit", "boost_parse"});
    vela::bench::addPairing({"decode vs simdjson parse", "decode", "kit", "simdjson"});
    return true;
}();

}  // namespace
