// Building every bank's link against parsing the payment link as often.
#include <benchmark/benchmark.h>

#include <boost/url/parse.hpp>

#include "BankListGenerator.h"
#include "Summary.h"
#include "catalogue/BankListDocument.h"
#include "selection/BankLink.h"

namespace {

const char* const paymentLink =
    "https://qr.vela.example/VELATESTPAYMENTONEOFF00000000002?type=02&bank=velabank-a1&sum=10000"
    "&cur=XTS&crc=AB75";

std::vector<velawidget::Bank> banks(std::size_t count) {
    auto decoded = velawidget::decodeBankList(vela::generator::bankListDocument({count}));
    return std::get<0>(std::move(decoded)).dictionary;
}

void kit(benchmark::State& state) {
    const auto all = banks(static_cast<std::size_t>(state.range(0)));
    const auto link = boost::urls::parse_uri(paymentLink).value();
    for (auto _ : state) {
        for (const auto& bank : all) {
            auto built = velawidget::makeBankLink(link, bank);
            benchmark::DoNotOptimize(built);
        }
    }
}

void bareParse(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        for (std::size_t i = 0; i < count; ++i) {
            auto parsed = boost::urls::parse_uri(paymentLink);
            benchmark::DoNotOptimize(parsed);
        }
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("links/kit", kit)->Arg(10000)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("links/bare_parse", bareParse)
        ->Arg(10000)
        ->Unit(benchmark::kMicrosecond);
    vela::bench::addPairing({"links vs bare URL parse", "links", "kit", "bare_parse"});
    return true;
}();

}  // namespace
