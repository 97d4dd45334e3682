#include <gtest/gtest.h>
#include <velawidget/platform/PosixFileStore.h>

#include <atomic>
#include <memory>
#include <mutex>
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
/// cache writes inside them) overlap.
class ThreadedHttpClient final : public velawidget::HttpClient {
  public:
    explicit ThreadedHttpClient(std::function<HttpBody(std::size_t)> reply)
        : reply_(std::move(reply)) {}
    ~ThreadedHttpClient() override { join(); }
    void get(velawidget::HttpRequest, std::function<void(HttpBody)> completion) override {
        const std::lock_guard lock(mutex_);
        threads_.emplace_back([this, index = threads_.size(), completion = std::move(completion)] {
            completion(reply_(index));
        });
    }
    void join() {
        std::vector<std::thread> threads;
        {
            const std::lock_guard lock(mutex_);
            threads.swap(threads_);
        }
        for (auto& thread : threads) thread.join();
    }

  private:
    std::function<HttpBody(std::size_t)> reply_;
    std::mutex mutex_;
    std::vector<std::thread> threads_;
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
    const std::string smallDocument = vela::test::bankListDocument(small);
    const std::string largeDocument = vela::test::bankListDocument(large);
    auto files = std::make_shared<velawidget::PosixFileStore>(dir.path());
    auto http = std::make_shared<ThreadedHttpClient>(
        [&](std::size_t index) -> HttpBody { return index % 2 ? largeDocument : smallDocument; });
    const Storage storage(http, files);
    const auto cacheFile = storage.bankListFileURL(Schema::qr).value();
    ASSERT_FALSE(files->write(cacheFile, smallDocument));

    constexpr int fetches = 50;
    std::atomic<int> completions{0}, failedCompletions{0};
    std::atomic<bool> stop{false};
    std::atomic<long> reads{0}, badReads{0};
    std::vector<std::thread> readers;
    for (int r = 0; r < 4; ++r) {
        readers.emplace_back([&] {
            for (; !stop.load(); ++reads) {
                const auto cached = storage.readCachedBankList(Schema::qr);
                if (!cached || (*cached != small && *cached != large)) ++badReads;
            }
        });
    }
    for (int i = 0; i < fetches; ++i) {
        storage.fetchBankList(Schema::qr, false, [&](Storage::FetchResult result) {
            const auto* banks = std::get_if<std::vector<Bank>>(&result);
            if (!banks || (*banks != small && *banks != large)) ++failedCompletions;
            ++completions;
        });
    }
    http->join();
    stop = true;
    for (auto& reader : readers) reader.join();
    EXPECT_EQ(completions.load(), fetches);
    EXPECT_EQ(failedCompletions.load(), 0);
    EXPECT_EQ(badReads.load(), 0) << "of " << reads.load() << " reads";
    const auto final = dir.read(cacheFile.filename().string());
    EXPECT_TRUE(final == smallDocument || final == largeDocument);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{cacheFile.filename().string()})
        << "no temporary file is left behind by the overlapping writes";
}

TEST(FilesUnderStress, UnwritableCachesDegradeToDownloadsAndKeepWhatIsCached) {
    using Logos = std::vector<std::string>;
    using Store = std::shared_ptr<velawidget::FileStore>;
    const auto posixAt = [](std::optional<std::filesystem::path> at) -> Store {
        return std::make_shared<velawidget::PosixFileStore>(at);
    };
    const vela::test::TempDir dir;
    dir.write("plain-file", "not a directory");
    // A list and a last-used name cached before the disk filled up.
    dir.write("full/qrbanksListStorage", vela::test::bankListDocument(banksNamed("cached", 3)));
    dir.write("full/lastUsedBanks", "\"cached2\"");
    struct Case {
        const char* what;
        Store store;
        Logos offline;  // empty: no list at all
        Logos lastUsed;
    };
    // clang-format off
    const std::vector<Case> cases{
        {"disk full", std::make_shared<RefusingWritesFileStore>(dir / "full"), {"cached2", "cached0", "cached1"}, {"cached2"}},
        {"a file where the directory should be", posixAt(dir / "plain-file"), {}, {}},
        {"no caches directory at all", posixAt(std::nullopt), {}, {}},
    };
    // clang-format on
    const auto fresh = banksNamed("fresh", 2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto http = std::make_shared<vela::test::FakeHttpClient>();
        const Storage storage(http, c.store);
        std::vector<Storage::FetchResult> results;
        const auto fetch = [&](bool reorder, HttpBody body) {
            storage.fetchBankList(Schema::qr, reorder, [&](auto r) { results.push_back(r); });
            http->respond(0, std::move(body));
            http->callbackQueue().runUntilIdle();
        };
        // The download is delivered whether or not it can be kept.
        fetch(false, vela::test::bankListDocument(fresh));
        storage.updateLastUsedBank("fresh1");
        EXPECT_EQ(storage.readLastUsedBanks(), c.lastUsed);
        // Offline afterwards: whatever was cached before is still there.
        fetch(true, std::nullopt);
        ASSERT_EQ(results.size(), 2u);
        EXPECT_EQ(results[0], Storage::FetchResult(fresh));
        if (c.offline.empty()) {
            EXPECT_TRUE(std::holds_alternative<Storage::Error>(results[1]));
        } else {
            ASSERT_TRUE(std::holds_alternative<std::vector<Bank>>(results[1]));
            EXPECT_EQ(vela::test::logosOf(std::get<std::vector<Bank>>(results[1])), c.offline);
        }
        EXPECT_EQ(dir.read("plain-file"), "not a directory");
    }
}

}  // namespace
