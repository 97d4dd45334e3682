#include <gtest/gtest.h>
#include <velawidget/curl/CurlHttpClient.h>
#include <velawidget/platform/PosixFileStore.h>

#include <condition_variable>
#include <mutex>

#include "catalogue/BankListDocument.h"
#include "catalogue/Storage.h"
#include "support/SandboxProcess.h"
#include "support/TempDir.h"

namespace velawidget {
namespace {

using namespace std::chrono_literals;
using vela::test::SandboxProcess;
using vela::test::TempDir;

std::vector<std::string> namesOf(const std::vector<Bank>& banks) {
    std::vector<std::string> names;
    for (const auto& bank : banks) names.push_back(bank.bankName);
    return names;
}

/// A loader on the real curl client and a real caches directory.
class Loader {
  public:
    Loader(const SandboxProcess& sandbox, const std::filesystem::path& caches) {
        curl::CurlHttpClientOptions options;
        options.caFile = sandbox.certFile();
        options.connectTo = "127.0.0.1:" + std::to_string(sandbox.port());
        options.timeoutOverride = 700ms;
        options.overallLimit = 2500ms;
        http_ = std::make_shared<curl::CurlHttpClient>(options);
        storage_.emplace(http_, std::make_shared<PosixFileStore>(caches));
    }

    /// Every result of one fetch; the client is shut down before returning,
    /// so a late second completion would be counted too.
    std::vector<Storage::FetchResult> fetch(Schema schema, bool reorder = false) {
        std::mutex mutex;
        std::condition_variable changed;
        std::vector<Storage::FetchResult> results;
        storage_->fetchBankList(schema, reorder, [&](Storage::FetchResult result) {
            std::lock_guard lock(mutex);
            results.push_back(std::move(result));
            changed.notify_all();
        });
        {
            std::unique_lock lock(mutex);
            changed.wait_for(lock, 60s, [&] { return !results.empty(); });
        }
        storage_.reset();
        http_.reset();
        std::lock_guard lock(mutex);
        return results;
    }

  private:
    std::shared_ptr<curl::CurlHttpClient> http_;
    std::optional<Storage> storage_;
};

TEST(FaultMatrix, EveryFaultEndsOnceAndLeavesTheCacheIntact) {
    SandboxProcess sandbox;
    TempDir primed;
    {
        auto results = Loader(sandbox, primed.path()).fetch(Schema::qr);
        ASSERT_EQ(results.size(), 1u);
        ASSERT_EQ(results[0].index(), 0u);
    }
    const auto cached = primed.read("qrbanksListStorage");
    ASSERT_TRUE(cached);
    const auto decoded = decodeBankList(*cached);
    ASSERT_EQ(decoded.index(), 0u);
    const auto& served = std::get<BankListResponse>(decoded);

    struct Case {
        std::string fault;
        bool servedBodyAccepted;  // the answer itself decodes
    };
    const std::vector<Case> cases{{"drop", false},
                                  {"delay:3000", false},
                                  {"status:500", true},
                                  {"status:404", true},
                                  {"status:503:garbage", false},
                                  {"truncate", false},
                                  {"garbage", false},
                                  {"empty", false},
                                  {"huge", false},
                                  {"slow", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        ASSERT_TRUE(sandbox.setFault(c.fault));

        // With a cache: the fault falls back to it, and the file is untouched.
        auto results = Loader(sandbox, primed.path()).fetch(Schema::qr);
        ASSERT_EQ(results.size(), 1u);
        ASSERT_EQ(results[0].index(), 0u);
        EXPECT_EQ(namesOf(std::get<0>(results[0])), namesOf(served.dictionary));
        EXPECT_EQ(primed.read("qrbanksListStorage"), cached);

        // Without one: only an answer that decodes gives banks.
        TempDir empty;
        results = Loader(sandbox, empty.path()).fetch(Schema::qr);
        ASSERT_EQ(results.size(), 1u);
        if (c.servedBodyAccepted) {
            ASSERT_EQ(results[0].index(), 0u);
            EXPECT_EQ(empty.read("qrbanksListStorage"), cached);
        } else {
            ASSERT_EQ(results[0].index(), 1u);
            EXPECT_EQ(std::get<1>(results[0]), Storage::Error::emptyCache);
            EXPECT_FALSE(empty.exists("qrbanksListStorage"));
        }
    }
}

}  // namespace
}  // namespace velawidget
