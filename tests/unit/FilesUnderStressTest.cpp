#include <gtest/gtest.h>
#include <velawidget/platform/PosixFileStore.h>

#include <atomic>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <variant>
#include <vector>

#include "catalogue/Storage.h"
#include "support/BankDocuments.h"
#include "support/FakeHttpClient.h"
#include "support/TempDir.h"

namespace {

using velawidget::Bank;
using velawidget::HttpBody;
using velawidget::Schema;
using velawidget::Storage;

/// Answers every request on a thread of its own, so completions (and the
/// cache writes inside them) overlap. Requests come from the test's thread only.
struct ThreadedHttpClient final : velawidget::HttpClient {
    explicit ThreadedHttpClient(std::function<HttpBody(std::size_t)> r) : reply(std::move(r)) {}
    ~ThreadedHttpClient() override { join(); }
    void get(velawidget::HttpRequest, std::function<void(HttpBody)> completion) override {
        threads.emplace_back([this, index = threads.size(), completion = std::move(completion)] {
            completion(reply(index));
        });
    }
    void join() {
        for (auto& thread : threads) thread.join();
        threads.clear();
    }
    std::function<HttpBody(std::size_t)> reply;
    std::vector<std::thread> threads;
};

/// The POSIX store with every write refused, as on a full disk (the tests run
/// as root, so file modes do not stop writes).
class RefusingWritesFileStore final : public velawidget::FileStore {
  public:
    explicit RefusingWritesFileStore(std::filesystem::path directory)
        : inner_(std::move(directory)) {}
    std::optional<std::filesystem::path> cachesDirectory() const override {
        return inner_.cachesDirectory();
    }
    std::variant<std::string, std::error_code> read(const std::filesystem::path& file,
                                                    std::size_t maxBytes) const override {
        return inner_.read(file, maxBytes);
    }
    std::error_code write(const std::filesystem::path&, std::string_view) const override {
        return std::make_error_code(std::errc::no_space_on_device);
    }

  private:
    velawidget::PosixFileStore inner_;
};

std::vector<Bank> banksNamed(const std::string& prefix, std::size_t count) {
    std::vector<Bank> banks;
    for (std::size_t i = 0; i < count; ++i)
        banks.push_back(vela::test::bankWithLogo(prefix + std::to_string(i)));
    return banks;
}

TEST(FilesUnderStress, ConcurrentFetchesNeverExposeAPartialCacheFile) {
    const vela::test::TempDir dir;
    // Two documents of very different sizes, so a torn write would show.
    const auto small = banksNamed("small", 2);
    const auto large = banksNamed("large-logo-with-a-long-address-", 400);
    const std::string documents[] = {vela::test::bankListDocument(small),
                                     vela::test::bankListDocument(large)};
    auto http = std::make_shared<ThreadedHttpClient>(
        [&](std::size_t index) -> HttpBody { return documents[index % 2]; });
    const Storage storage(http, std::make_shared<velawidget::PosixFileStore>(dir.path()));
    const auto cacheName = storage.bankListFileURL(Schema::qr)->filename().string();
    dir.write(cacheName, documents[0]);

    const auto whole = [&](const std::optional<std::vector<Bank>>& banks) {
        return banks && (*banks == small || *banks == large);
    };
    std::atomic<int> completions{0}, bad{0};
    std::atomic<bool> stop{false};
    std::vector<std::thread> readers;
    for (int r = 0; r < 4; ++r) {
        readers.emplace_back([&] {
            while (!stop) bad += !whole(storage.readCachedBankList(Schema::qr));
        });
    }
    constexpr int fetches = 50;
    for (int i = 0; i < fetches; ++i) {
        storage.fetchBankList(Schema::qr, Storage::Consumer::query,
                              [&](Storage::FetchResult result) {
                                  const auto* banks = std::get_if<std::vector<Bank>>(&result);
                                  bad += !whole(banks ? std::optional(*banks) : std::nullopt);
                                  ++completions;
                              });
    }
    http->join();
    stop = true;
    for (auto& reader : readers) reader.join();
    EXPECT_EQ(completions.load(), fetches);
    EXPECT_EQ(bad.load(), 0);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{cacheName})
        << "no temporary file is left behind by the overlapping writes";
}

TEST(FilesUnderStress, UnwritableCachesDegradeToDownloadsAndKeepWhatIsCached) {
    const vela::test::TempDir dir;
    dir.write("plain-file", "not a directory");
    // A list and a last-used name cached before the disk filled up.
    dir.write("full/qrbanksListStorage", vela::test::bankListDocument(banksNamed("cached", 3)));
    dir.write("full/lastUsedBanks", "\"cached2\"");
    // The last has no caches directory at all.
    const std::pair<std::shared_ptr<velawidget::FileStore>, std::vector<std::string>> cases[] = {
        {std::make_shared<RefusingWritesFileStore>(dir / "full"),
         {"cached2", "cached0", "cached1"}},
        {std::make_shared<velawidget::PosixFileStore>(dir / "plain-file"), {}},
        {std::make_shared<velawidget::PosixFileStore>(std::nullopt), {}},
    };
    const auto fresh = banksNamed("fresh", 2);
    for (const auto& [store, offline] : cases) {
        auto http = std::make_shared<vela::test::FakeHttpClient>();
        const Storage storage(http, store);
        std::vector<Storage::FetchResult> results;
        const auto fetch = [&](HttpBody body) {
            storage.fetchBankList(Schema::qr, Storage::Consumer::screen,
                                  [&](auto r) { results.push_back(r); });
            http->respond(0, std::move(body));
            http->callbackQueue().runUntilIdle();
        };
        // The download is delivered whether or not it can be kept; offline
        // afterwards, whatever was cached before is still there.
        fetch(vela::test::bankListDocument(fresh));
        storage.updateLastUsedBank("fresh1");
        fetch(std::nullopt);
        ASSERT_EQ(results.size(), 2u);
        EXPECT_EQ(results[0], Storage::FetchResult(fresh));
        EXPECT_EQ(std::holds_alternative<Storage::Error>(results[1]), offline.empty());
        const auto* cached = std::get_if<std::vector<Bank>>(&results[1]);
        EXPECT_EQ(cached ? vela::test::logosOf(*cached) : std::vector<std::string>{}, offline);
        EXPECT_EQ(dir.read("plain-file"), "not a directory");
    }
}

}  // namespace
