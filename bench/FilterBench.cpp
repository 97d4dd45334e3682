// One keystroke of the bank search: the kept folded names against folding
// every name per keystroke, and against a bare memmem scan over names folded
// in advance (the floor any substring search pays).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Summary.h"
#include "catalogue/BankListDocument.h"
#include "core/Texts.h"
#include "platform/portable/KeyTextLookup.h"
#include "selection/BankListViewModel.h"
#include "selection/NameFolding.h"
#include "support/ManualClock.h"

namespace {

// Mixed case, precomposed and decomposed accents, three scripts.
const std::vector<std::string> words{
    "Banca",   "Crédit",  "CRE\u0301DIT", "Pâtissé", "Ñandú",      "Straße", "Öko",
    "Zünftig", "Пряник",  "БАНК",         "Ёлка",    "Е\u0308ЛКА", "Кредит", "Сметана",
    "Τράπεζα", "ΛΕΜΟΝΆΣ", "Γλάρος",       "Χελώνα",  "Kraków",     "Łódź",   "Dvořák",
};

std::vector<velawidget::Bank> generatedBanks(std::size_t count) {
    std::uint64_t seed = 0x9e3779b97f4a7c15u;
    auto next = [&seed] {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        return seed;
    };
    std::vector<velawidget::Bank> banks;
    banks.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string name;
        const auto parts = 2 + next() % 3;
        for (std::uint64_t p = 0; p < parts; ++p) {
            if (p > 0) name += ' ';
            name += words[next() % words.size()];
        }
        name += ' ' + std::to_string(i);
        banks.push_back({std::move(name), "https://logos.example/" + std::to_string(i) + ".png",
                         "velabank-f" + std::to_string(i % 97), std::nullopt, std::nullopt});
    }
    return banks;
}

// A capital accented letter pair that folds before it can match.
const std::string keystroke = "ÉD";

void cached(benchmark::State& state) {
    const auto banks = generatedBanks(static_cast<std::size_t>(state.range(0)));
    const velawidget::FoldedNames folded(banks);
    for (auto _ : state) {
        auto kept = folded.matching(keystroke);
        benchmark::DoNotOptimize(kept);
    }
}

// The search without kept names: every name folded again per keystroke.
std::vector<std::size_t> foldingEveryName(const std::vector<velawidget::Bank>& banks,
                                          std::string_view text) {
    const std::string query = velawidget::foldForSearch(text);
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < banks.size(); ++i) {
        if (velawidget::containsFolded(velawidget::foldForSearch(banks[i].bankName), query)) {
            kept.push_back(i);
        }
    }
    return kept;
}

void uncached(benchmark::State& state) {
    const auto banks = generatedBanks(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        auto kept = foldingEveryName(banks, keystroke);
        benchmark::DoNotOptimize(kept);
    }
}

void memmemFloor(benchmark::State& state) {
    const auto banks = generatedBanks(static_cast<std::size_t>(state.range(0)));
    std::vector<std::string> folded;
    for (const auto& bank : banks) folded.push_back(velawidget::foldForSearch(bank.bankName));
    const std::string query = velawidget::foldForSearch(keystroke);
    for (auto _ : state) {
        std::vector<std::size_t> kept;
        for (std::size_t i = 0; i < folded.size(); ++i) {
            if (memmem(folded[i].data(), folded[i].size(), query.data(), query.size())) {
                kept.push_back(i);
            }
        }
        benchmark::DoNotOptimize(kept);
    }
}

// The whole keystroke as the list model runs it: throttle, filter, rows and message published.
void modelKeystroke(benchmark::State& state) {
    auto clock = std::make_shared<velawidget::ManualClock>();
    velawidget::BankListViewModel model(clock, std::make_shared<const velawidget::FixedTexts>(
                                                   std::make_shared<velawidget::KeyTextLookup>()));
    model.updateBanks(generatedBanks(static_cast<std::size_t>(state.range(0))));
    bool flip = false;
    for (auto _ : state) {
        model.searchingBarViewInput = (flip = !flip) ? keystroke : keystroke + "I";
        clock->advance(velawidget::BankListViewModel::searchThrottle);
        benchmark::DoNotOptimize(model.cellModels.value().size());
    }
}

const bool registered = [] {
    for (auto [name, function] :
         {std::pair{"filter/cached", &cached}, std::pair{"filter/uncached", &uncached},
          std::pair{"filter/memmem_floor", &memmemFloor},
          std::pair{"filter/model_keystroke", &modelKeystroke}}) {
        benchmark::RegisterBenchmark(name, function)
            ->Arg(10000)
            ->Arg(100000)
            ->Unit(benchmark::kMicrosecond);
    }
    vela::bench::addPairing({"filter cached vs per-call folding", "filter", "cached", "uncached"});
    vela::bench::addPairing({"filter cached vs memmem floor", "filter", "cached", "memmem_floor"});
    vela::bench::addPairing(
        {"filter model keystroke vs memmem", "filter", "model_keystroke", "memmem_floor"});
    return true;
}();

}  // namespace
