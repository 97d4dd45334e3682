#include <gtest/gtest.h>
#include <velawidget/platform/PosixFileStore.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <variant>
#include <vector>

#include "catalogue/Storage.h"
#include "support/BankDocuments.h"
#include "support/TempDir.h"

namespace {

using velawidget::Bank;
using velawidget::HttpBody;
using velawidget::HttpRequest;
using velawidget::Schema;
using velawidget::Storage;

/// Answers every request on a thread of its own after a short, varying
/// delay, so completions (and the cache writes inside them) overlap.
class ThreadedHttpClient final : public velawidget::HttpClient {
  public:
    explicit ThreadedHttpClient(std::function<HttpBody(std::size_t)> reply)
        : reply_(std::move(reply)) {}
    ~ThreadedHttpClient() override { join(); }

    void get(HttpRequest, std::function<void(HttpBody)> completion) override {
        const std::lock_guard lock(mutex_);
        const std::size_t index = threads_.size();
        threads_.emplace_back([this, index, completion = std::move(completion)] {
            std::this_thread::sleep_for(std::chrono::microseconds(100 * (index % 7)));
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

/// The POSIX store with every write refused with `error`, as on a full or
/// read-only disk (the tests run as root, so file modes do not stop writes).
class RefusingWritesFileStore final : public velawidget::FileStore {
  public:
    RefusingWritesFileStore(std::filesystem::path directory, std::error_code error)
        : inner_(std::move(directory)), error_(error) {}

    std::optional<std::filesystem::path> cachesDirectory() const override {
        return inner_.cachesDirectory();
    }
    std::variant<std::string, std::error_code> read(const std::filesystem::path& file,
                                                    std::size_t maxBytes) const override {
        return inner_.read(file, maxBytes);
    }
    std::error_code write(const std::filesystem::path&, std::string_view) const override {
        return error_;
    }

  private:
    velawidget::PosixFileStore inner_;
    std::error_code error_;
};

std::vector<Bank> banksNamed(const std::string& prefix, std::size_t count) {
    std::vector<Bank> banks;
    for (std::size_t i = 0; i < count; ++i)
        banks.push_back(vela::test::bankWithLogo(prefix + std::to_string(i)));
    return banks;
}

/// Runs one fetch to its end and gives what its completion received.
Storage::FetchResult fetchOnce(const Storage& storage, bool reorder) {
    std::mutex mutex;
    std::condition_variable done;
    std::optional<Storage::FetchResult> result;
    storage.fetchBankList(Schema::qr, reorder, [&](Storage::FetchResult r) {
        const std::lock_guard lock(mutex);
        result = std::move(r);
        done.notify_all();
    });
    std::unique_lock lock(mutex);
    EXPECT_TRUE(done.wait_for(lock, std::chrono::seconds(10), [&] { return result.has_value(); }));
    return result.value_or(Storage::FetchResult(Storage::Error::emptyCache));
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
    std::atomic<int> completions{0};
    std::atomic<int> failedCompletions{0};
    std::atomic<bool> stop{false};
    std::atomic<long> reads{0};
    std::atomic<long> badReads{0};

    std::vector<std::thread> readers;
    for (int r = 0; r < 4; ++r) {
        readers.emplace_back([&] {
            while (!stop.load()) {
                const auto cached = storage.readCachedBankList(Schema::qr);
                ++reads;
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
    EXPECT_GT(reads.load(), 0);
    EXPECT_EQ(badReads.load(), 0) << "of " << reads.load() << " reads";
    const auto final = dir.read(cacheFile.filename().string());
    ASSERT_TRUE(final);
    EXPECT_TRUE(*final == smallDocument || *final == largeDocument);
    // No temporary file is left behind by the overlapping writes.
    EXPECT_EQ(dir.entries(), std::vector<std::string>{cacheFile.filename().string()});
}

TEST(FilesUnderStress, UnwritableCachesDegradeToDownloadsAndKeepWhatIsCached) {
    using Logos = std::vector<std::string>;
    using StoreFor =
        std::function<std::shared_ptr<velawidget::FileStore>(const vela::test::TempDir&)>;
    const auto refusing = [](std::errc error) -> StoreFor {
        return [error](const vela::test::TempDir& dir) {
            // A list and a last-used name cached before the disk went bad.
            dir.write("qrbanksListStorage", vela::test::bankListDocument(banksNamed("cached", 3)));
            dir.write("lastUsedBanks", "\"cached2\"");
            return std::make_shared<RefusingWritesFileStore>(dir.path(),
                                                             std::make_error_code(error));
        };
    };
    const auto posixAt = [](std::filesystem::path relative) -> StoreFor {
        return [relative](const vela::test::TempDir& dir) {
            dir.write("plain-file", "not a directory");
            return std::make_shared<velawidget::PosixFileStore>(dir.path() / relative);
        };
    };
    struct Case {
        const char* what;
        StoreFor store;
        Logos offline;  // empty: no list at all
        Logos lastUsed;
    };
    const std::vector<Case> cases{
        {"disk full",
         refusing(std::errc::no_space_on_device),
         {"cached2", "cached0", "cached1"},
         {"cached2"}},
        {"read-only disk",
         refusing(std::errc::read_only_file_system),
         {"cached2", "cached0", "cached1"},
         {"cached2"}},
        {"permission denied",
         refusing(std::errc::permission_denied),
         {"cached2", "cached0", "cached1"},
         {"cached2"}},
        {"a file where the directory should be", posixAt("plain-file"), {}, {}},
        {"a file where a parent directory should be", posixAt("plain-file/caches"), {}, {}},
        {"a missing directory", posixAt("missing/caches"), {"fresh1", "fresh0"}, {"fresh1"}},
        {"no caches directory at all",
         [](const vela::test::TempDir&) {
             return std::make_shared<velawidget::PosixFileStore>(std::nullopt);
         },
         {},
         {}},
    };
    const auto fresh = banksNamed("fresh", 2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const vela::test::TempDir dir;
        HttpBody reply = vela::test::bankListDocument(fresh);
        auto http = std::make_shared<ThreadedHttpClient>([&](std::size_t) { return reply; });
        const Storage storage(http, c.store(dir));

        // The download is delivered whether or not it can be kept.
        const auto downloaded = fetchOnce(storage, false);
        ASSERT_TRUE(std::holds_alternative<std::vector<Bank>>(downloaded));
        EXPECT_EQ(std::get<std::vector<Bank>>(downloaded), fresh);
        storage.updateLastUsedBank("fresh1");
        EXPECT_EQ(storage.readLastUsedBanks(), c.lastUsed);

        // Offline afterwards: whatever was cached before is still there.
        reply = std::nullopt;
        const auto offline = fetchOnce(storage, true);
        if (c.offline.empty()) {
            EXPECT_TRUE(std::holds_alternative<Storage::Error>(offline));
        } else {
            ASSERT_TRUE(std::holds_alternative<std::vector<Bank>>(offline));
            EXPECT_EQ(vela::test::logosOf(std::get<std::vector<Bank>>(offline)), c.offline);
        }
        http->join();
        if (dir.exists("plain-file")) {
            EXPECT_EQ(dir.read("plain-file"), "not a directory");
        }
    }
}

}  // namespace
