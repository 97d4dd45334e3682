// What a download costs after the bytes arrive: decode, cache write,
// last-used read and reordering, against decoding alone.
#include <benchmark/benchmark.h>
#include <velawidget/platform/PosixFileStore.h>

#include <cstdlib>
#include <filesystem>

#include "BankListGenerator.h"
#include "Summary.h"
#include "catalogue/BankListDocument.h"
#include "catalogue/Storage.h"

namespace {

/// Hands every request the same body at once, so the loader runs start to
/// end inside the benchmark loop.
class ImmediateHttpClient final : public velawidget::HttpClient {
  public:
    explicit ImmediateHttpClient(std::string body) : body_(std::move(body)) {}
    void get(velawidget::HttpRequest, std::function<void(velawidget::HttpBody)> done) override {
        done(body_);
    }

  private:
    std::string body_;
};

std::filesystem::path scratchDirectory() {
    std::string pattern = (std::filesystem::current_path() / "vela-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return std::filesystem::temp_directory_path();
    return pattern;
}

void kit(benchmark::State& state) {
    const auto bytes =
        vela::generator::bankListDocument({static_cast<std::size_t>(state.range(0))});
    const auto directory = scratchDirectory();
    auto files = std::make_shared<velawidget::PosixFileStore>(directory);
    velawidget::Storage storage(std::make_shared<ImmediateHttpClient>(bytes), files);
    for (const char* logo :
         {"https://qr.vela.example/logos/100007.png", "https://qr.vela.example/logos/105000.png",
          "https://qr.vela.example/logos/109999.png"}) {
        storage.updateLastUsedBank(logo);
    }
    for (auto _ : state) {
        std::size_t delivered = 0;
        storage.fetchBankList(velawidget::Schema::qr, velawidget::Storage::Consumer::screen,
                              [&](velawidget::Storage::FetchResult r) {
                                  if (auto* banks = std::get_if<0>(&r)) delivered = banks->size();
                              });
        if (delivered == 0) state.SkipWithError("the loader delivered no banks");
    }
    std::filesystem::remove_all(directory);
}

void decodeOnly(benchmark::State& state) {
    const auto bytes =
        vela::generator::bankListDocument({static_cast<std::size_t>(state.range(0))});
    for (auto _ : state) {
        auto result = velawidget::decodeBankList(bytes);
        benchmark::DoNotOptimize(result);
    }
}

/// What the path cannot avoid: decoding and a durable whole-file write of
/// the same bytes (temporary file, fsync, rename).
void decodeAndWrite(benchmark::State& state) {
    const auto bytes =
        vela::generator::bankListDocument({static_cast<std::size_t>(state.range(0))});
    const auto directory = scratchDirectory();
    velawidget::PosixFileStore files(directory);
    for (auto _ : state) {
        auto result = velawidget::decodeBankList(bytes);
        benchmark::DoNotOptimize(result);
        if (files.write(directory / "banks.json", bytes)) state.SkipWithError("write failed");
    }
    std::filesystem::remove_all(directory);
}

const bool registered = [] {
    benchmark::RegisterBenchmark("fetch_path/kit", kit)->Arg(10000)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("fetch_path/decode_only", decodeOnly)
        ->Arg(10000)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("fetch_path/decode_and_write", decodeAndWrite)
        ->Arg(10000)
        ->Unit(benchmark::kMicrosecond);
    vela::bench::addPairing({"fetch path vs decode alone", "fetch_path", "kit", "decode_only"});
    vela::bench::addPairing(
        {"fetch path vs decode + durable write", "fetch_path", "kit", "decode_and_write"});
    return true;
}();

}  // namespace
