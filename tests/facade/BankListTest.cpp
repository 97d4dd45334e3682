#include <gtest/gtest.h>
#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/platform.h>
#include <velawidget/platform/PosixFileStore.h>
#include <velawidget/platform/RunLoop.h>

#include <set>
#include <stdexcept>
#include <thread>

#include "support/BankDocuments.h"
#include "support/DebugCapture.h"
#include "support/FakeHttpClient.h"
#include "support/TempDir.h"

// The facade fixes the platform once per process: main installs this one
// before the first use.
namespace vela::test {
struct FakePlatform {
    std::shared_ptr<FakeHttpClient> http = std::make_shared<FakeHttpClient>();
    TempDir caches;
    bool factoryCalled = false;
};

FakePlatform& fakePlatform() {
    static FakePlatform platform;
    return platform;
}
}  // namespace vela::test

namespace velawidget {
namespace {

using vela::test::fakePlatform;

const std::string id = "VELATESTPAYMENTSTATIC00000000001";
const std::string qrLink = "https://qr.vela.example/" + id + "?type=02&sum=100";
const std::string subLink = "https://sub.vela.example/" + id;

struct Delivery {
    std::vector<BankListResult> results;
    std::shared_ptr<RunLoop> queue = std::make_shared<RunLoop>();
    std::function<void(BankListResult)> completion() {
        return [this](BankListResult result) { results.push_back(std::move(result)); };
    }
};

class BankListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fakePlatform().http->respondAll(std::nullopt);
        fakePlatform().http->callbackQueue().runUntilIdle();
        for (auto& entry : std::filesystem::directory_iterator(caches().path())) {
            std::filesystem::remove_all(entry.path());
        }
    }
    vela::test::FakeHttpClient& http() { return *fakePlatform().http; }
    const vela::test::TempDir& caches() { return fakePlatform().caches; }

    /// Runs a query to its end: the download answered with `body`, then `receivOn`.
    BankListResult query(const std::string& link, HttpBody body) {
        Delivery delivery;
        VelaWidgetSDK::shared().bankList(link, delivery.queue, delivery.completion());
        http().respond(0, std::move(body));
        http().callbackQueue().runUntilIdle();
        EXPECT_TRUE(delivery.results.empty()) << "delivered on receivOn only";
        delivery.queue->runUntilIdle();
        EXPECT_EQ(delivery.results.size(), 1u);
        return delivery.results.empty() ? BankListResult(VelaWidgetError::presentationFailed)
                                        : delivery.results.front();
    }
};

TEST_F(BankListTest, SharedIsOneObjectAndFixesTheInstalledPlatform) {
    std::vector<VelaWidgetSDK*> seen(8);
    std::vector<std::thread> readers;
    for (auto& slot : seen) readers.emplace_back([&slot] { slot = &VelaWidgetSDK::shared(); });
    for (auto& reader : readers) reader.join();
    EXPECT_EQ(std::set<VelaWidgetSDK*>(seen.begin(), seen.end()),
              std::set<VelaWidgetSDK*>{&VelaWidgetSDK::shared()});

    EXPECT_EQ(currentPlatform().http, fakePlatform().http);
    EXPECT_FALSE(fakePlatform().factoryCalled);
    EXPECT_FALSE(installPlatform({}));
    EXPECT_FALSE(setDefaultPlatformFactory(nullptr));
    EXPECT_EQ(http().requests().size(), 0u) << "creating the facade downloads nothing";
    EXPECT_TRUE(caches().entries().empty()) << "and touches no file";

    // This program links no selector front end: the selector calls say so
    // when called, before any link is looked at.
    auto& sdk = VelaWidgetSDK::shared();
    EXPECT_THROW(sdk.bankListViewController("not a link"), std::logic_error);
    EXPECT_THROW(sdk.showBankSelector("not a link"), std::logic_error);
    EXPECT_THROW(sdk.presentBankListViewController("x", HostWindow(&sdk)), std::logic_error);
}

TEST_F(BankListTest, RejectedLinksThrowAtOnceAndStartNothing) {
    // Which texts are payment links is the link tests' business; here only
    // what the query does with a rejection. Only text that does not parse says so.
    const std::string unparsable = "https://qr.vela.example/%zz" + id;
    const auto before = http().requests().size();
    vela::test::DebugCapture debug;
    Delivery delivery;
    for (const std::string& text : {unparsable, "http://qr.vela.example/" + id}) {
        try {
            VelaWidgetSDK::shared().bankList(text, delivery.queue, delivery.completion());
            ADD_FAILURE() << "accepted " << text;
        } catch (const std::system_error& error) {
            EXPECT_EQ(error.code(), VelaWidgetError::invalidURLString);
        }
    }
    EXPECT_EQ(
        debug.linesStartingWith("bank list fetching failed"),
        std::vector<std::string>{"bank list fetching failed, invalid paymentURL: " + unparsable});
    EXPECT_THROW(VelaWidgetSDK::shared().bankList(qrLink, nullptr, delivery.completion()),
                 std::invalid_argument);
    EXPECT_THROW(VelaWidgetSDK::shared().bankList(qrLink, delivery.queue,
                                                  std::function<void(BankListResult)>{}),
                 std::invalid_argument);
    EXPECT_THROW(VelaWidgetSDK::shared().bankList(qrLink, delivery.queue,
                                                  std::function<void(const BankListReport&)>{}),
                 std::invalid_argument);
    EXPECT_THROW(VelaWidgetSDK::shared().bankList(qrLink, nullptr, [](const BankListReport&) {}),
                 std::invalid_argument);
    delivery.queue->runUntilIdle();
    EXPECT_TRUE(delivery.results.empty());
    EXPECT_EQ(http().requests().size(), before);
}

TEST_F(BankListTest, BanksCarryTheirLinksAndThoseWithoutALinkAreLeftOut) {
    // One bank of each kind; which link each record gives is the link tests' business.
    const std::string tail = "qr.vela.example/" + id + "?type=02&sum=100";
    const std::vector<Bank> banks = {
        {"App", "https://l.example/app.png", "bankapp", std::nullopt, std::nullopt},
        {"Web", "https://l.example/web.png", "webapp", "https://online.web.example/x", "true"},
        {"No link", "https://l.example/n.png", "", std::nullopt, std::nullopt},
        {"Bad logo", "https://l.example/a b.png", "blogo", std::nullopt, std::nullopt},
        {"Relative logo", "logos/r.png", "rlogo", std::nullopt, std::nullopt},
    };
    // Downloads always come in last-used order.
    caches().write("lastUsedBanks", "\"logos/r.png\"");
    const auto result = query(qrLink, vela::test::bankListDocument(banks));
    EXPECT_EQ(http().requests().back().url, "https://qr.vela.example/proxyapp/c2bmembers.json");
    ASSERT_TRUE(result.has_value());

    struct Expected {
        std::string name;
        std::optional<std::string> logo;
        std::string link;
    };
    const std::vector<Expected> expected = {
        {"Relative logo", "logos/r.png", "rlogo://" + tail},
        {"App", "https://l.example/app.png", "bankapp://" + tail},
        {"Web", "https://l.example/web.png",
         "https://online.web.example/" + id + "?type=02&sum=100"},
        {"Bad logo", std::nullopt, "blogo://" + tail},
    };
    ASSERT_EQ(result.value().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(result.value()[i]->name(), expected[i].name);
        EXPECT_EQ(result.value()[i]->logoURL(), expected[i].logo);
        EXPECT_EQ(result.value()[i]->dboLink(), expected[i].link);
    }
    EXPECT_TRUE(caches().exists("qrbanksListStorage"));

    // A host drawing its own list records the shopper's choice where the
    // selector does, so the next list starts with it. Recent banks are kept
    // by logo address: a bank without one has no record.
    auto& sdk = VelaWidgetSDK::shared();
    EXPECT_FALSE(sdk.recordChosenBank(*result.value()[3]));
    EXPECT_TRUE(sdk.recordChosenBank(*result.value()[2]));
    std::dynamic_pointer_cast<RunLoop>(currentPlatform().mainQueue)->runUntilIdle();
    const auto again = query(qrLink, vela::test::bankListDocument(banks));
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again.value()[0]->name(), "Web");
    EXPECT_EQ(again.value()[1]->name(), "Relative logo");
}

TEST_F(BankListTest, OverlappingQueriesEachCompleteOnceOnTheirOwnQueue) {
    Delivery qr, sub;
    VelaWidgetSDK::shared().bankList(qrLink, qr.queue, qr.completion());
    VelaWidgetSDK::shared().bankList(subLink, sub.queue, sub.completion());
    ASSERT_EQ(http().pendingCount(), 2u);
    http().respond(1, vela::test::bankListDocument({vela::test::bankWithLogo("s")}));
    http().respond(0, std::nullopt);  // nothing cached either: the query fails
    http().callbackQueue().runUntilIdle();
    sub.queue->runUntilIdle();
    EXPECT_TRUE(qr.results.empty());
    ASSERT_EQ(sub.results.size(), 1u);
    ASSERT_TRUE(sub.results[0].has_value());
    EXPECT_EQ(sub.results[0].value().at(0)->dboLink(), "bankapp://sub.vela.example/" + id);
    qr.queue->runUntilIdle();
    ASSERT_EQ(qr.results.size(), 1u);
    EXPECT_EQ(qr.results[0].error(), VelaWidgetError::loadingFaild);
    sub.queue->runUntilIdle();
    EXPECT_EQ(sub.results.size(), 1u);
}

TEST_F(BankListTest, TheReportOverloadTellsWhyAndWhereTheBanksCameFrom) {
    struct Answer {
        const char* name;
        bool cached;  // a list in the caches directory beforehand
        HttpBody body;
        bool banks;
        LoadFailureCause cause;
        bool fromCache;
    };
    const std::string document = vela::test::bankListDocument({vela::test::bankWithLogo("c")});
    const Answer answers[] = {
        {"fresh download", false, document, true, LoadFailureCause::none, false},
        // The fake is a plain client: it tells no more than "no body".
        {"no body, no cache", false, std::nullopt, false, LoadFailureCause::transport, false},
        {"no body, a cached list", true, std::nullopt, true, LoadFailureCause::transport, true},
        {"not a bank list, a cached list", true, "<html>", true,
         LoadFailureCause::malformedDocument, true},
        {"not a bank list, no cache", false, "[]", false, LoadFailureCause::malformedDocument,
         false},
    };
    for (const auto& answer : answers) {
        SCOPED_TRACE(answer.name);
        SetUp();
        if (answer.cached) caches().write("qrbanksListStorage", document);
        std::vector<BankListReport> reports;
        std::vector<BankListResult> results;
        auto queue = std::make_shared<RunLoop>();
        // Both completion types pick their overload without a cast.
        VelaWidgetSDK::shared().bankList(
            qrLink, queue, [&](const BankListReport& report) { reports.push_back(report); });
        VelaWidgetSDK::shared().bankList(
            qrLink, queue, [&](BankListResult result) { results.push_back(std::move(result)); });
        http().respondAll(answer.body);
        http().callbackQueue().runUntilIdle();
        queue->runUntilIdle();
        ASSERT_EQ(reports.size(), 1u);
        ASSERT_EQ(results.size(), 1u);
        const auto& report = reports.front();
        EXPECT_EQ(report.result.has_value(), answer.banks);
        EXPECT_EQ(results.front().has_value(), answer.banks) << "the old overload: the same result";
        if (!answer.banks) {
            EXPECT_EQ(report.result.error(), VelaWidgetError::loadingFaild);
            EXPECT_EQ(results.front().error(), VelaWidgetError::loadingFaild);
        }
        EXPECT_EQ(report.cause, answer.cause) << toString(report.cause);
        EXPECT_EQ(report.fromCache, answer.fromCache);
        EXPECT_EQ(report.httpStatus, 0) << "the fake tells no status";
        // The installed store is a PosixFileStore: it knows the file's age.
        EXPECT_EQ(report.cacheAge.has_value(), answer.fromCache);
        if (report.cacheAge) {
            EXPECT_LT(report.cacheAge->count(), 600);
        }
    }
}

TEST(BankListReportText, SaysWhatWasDeliveredAndWhy) {
    BankListReport failed(VelaWidgetError::loadingFaild);
    failed.cause = LoadFailureCause::httpStatus;
    failed.httpStatus = 404;
    EXPECT_EQ(failed.message(),
              "No bank list could be obtained. The payment system's server answered with an "
              "error status instead of the bank list (HTTP 404).");
    BankListReport cached{BankListResult(std::vector<VelaWidgetBankPtr>(2))};
    cached.fromCache = true;
    cached.cause = LoadFailureCause::dnsLookup;
    cached.cacheAge = std::chrono::hours(3) + std::chrono::minutes(5);
    EXPECT_EQ(cached.message(),
              "The bank list could not be downloaded; the cached list of 2 banks, saved 3 hours "
              "ago, was used instead. The payment system's host name could not be resolved.");
    cached.cacheAge.reset();
    EXPECT_EQ(cached.message(),
              "The bank list could not be downloaded; the cached list of 2 banks was used "
              "instead. The payment system's host name could not be resolved.");
    EXPECT_EQ(BankListReport(BankListResult(std::vector<VelaWidgetBankPtr>(1))).message(),
              "The bank list was downloaded: 1 bank.");
    // Every cause has a name and a sentence of its own.
    std::set<std::string_view> names, sentences;
    for (int value = 0; value <= static_cast<int>(LoadFailureCause::transport); ++value) {
        names.insert(toString(static_cast<LoadFailureCause>(value)));
        sentences.insert(describe(static_cast<LoadFailureCause>(value)));
    }
    EXPECT_EQ(names.size(), 11u);
    EXPECT_EQ(sentences.size(), 11u);
}

}  // namespace
}  // namespace velawidget

int main(int argc, char** argv) {
    using namespace velawidget;
    auto& fake = fakePlatform();
    // A front end's default must lose against what the host installs.
    if (!setDefaultPlatformFactory([]() -> Platform {
            fakePlatform().factoryCalled = true;
            return {};
        })) {
        return 3;
    }
    Platform platform;
    platform.http = fake.http;
    platform.files = std::make_shared<PosixFileStore>(fake.caches.path());
    if (!installPlatform(std::move(platform))) return 3;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
