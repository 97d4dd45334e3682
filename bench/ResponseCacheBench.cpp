// A logo opened again: the response cache answering from its file (a hop to
// the file queue, a capped read, the entry checked, the answer) against a
// plain whole-file read of the same file on the calling thread.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <velawidget/platform/PosixFileStore.h>
#include <velawidget/platform/SerialQueue.h>

#include <filesystem>
#include <future>
#include <memory>
#include <string>

#include "Summary.h"
#include "platform/CacheEntry.h"
#include "platform/ResponseCache.h"

namespace {

std::filesystem::path scratchDirectory() {
    std::string pattern = (std::filesystem::current_path() / "vela-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return std::filesystem::temp_directory_path();
    return pattern;
}

const std::string logoURL = "https://qr.vela.example/logos/100007.png";

/// A logo's worth of bytes (state.range(0) of them) stored as the cache stores it.
std::shared_ptr<velawidget::PosixFileStore> storedLogo(const std::filesystem::path& directory,
                                                       std::size_t bytes) {
    auto files = std::make_shared<velawidget::PosixFileStore>(directory);
    const auto file = directory / "responses" /
                      velawidget::cacheSlotFileName(velawidget::cacheSlotOf(logoURL, 512));
    (void)files->write(file, velawidget::encodeCacheEntry(logoURL, std::string(bytes, 'x')));
    return files;
}

void hit(benchmark::State& state) {
    const auto directory = scratchDirectory();
    auto queue = std::make_shared<velawidget::SerialQueue>("response files");
    const velawidget::ResponseCache cache(
        nullptr, storedLogo(directory, static_cast<std::size_t>(state.range(0))), queue);
    for (auto _ : state) {
        std::promise<std::size_t> done;
        const auto call = cache.get(
            {logoURL, std::chrono::seconds(60), velawidget::CachePolicy::useCacheFirst},
            [&done](velawidget::HttpBody body) { done.set_value(body ? body->size() : 0); });
        if (done.get_future().get() == 0) state.SkipWithError("no answer from the file");
    }
    std::filesystem::remove_all(directory);
}

void plainRead(benchmark::State& state) {
    const auto directory = scratchDirectory();
    const auto files = storedLogo(directory, static_cast<std::size_t>(state.range(0)));
    const auto file = directory / "responses" /
                      velawidget::cacheSlotFileName(velawidget::cacheSlotOf(logoURL, 512));
    for (auto _ : state) {
        auto bytes = files->read(file, std::size_t{1} << 20);
        benchmark::DoNotOptimize(bytes);
    }
    std::filesystem::remove_all(directory);
}

const bool registered = [] {
    for (auto [name, run] : {std::pair{"response_cache/hit", &hit},
                             std::pair{"response_cache/plain_read", &plainRead}}) {
        benchmark::RegisterBenchmark(name, run)
            ->Arg(8 * 1024)
            ->Arg(200 * 1024)
            ->Unit(benchmark::kMicrosecond);
    }
    vela::bench::addPairing(
        {"logo from the response cache vs plain file read", "response_cache", "hit", "plain_read"});
    return true;
}();

}  // namespace
