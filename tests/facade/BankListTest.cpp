#include <gtest/gtest.h>
#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/platform.h>
#include <velawidget/platform/PosixFileStore.h>
#include <velawidget/platform/RunLoop.h>

#include <stdexcept>

#include "sdk/Kit.h"
#include "support/BankDocuments.h"
#include "support/FakeHttpClient.h"
#include "support/TempDir.h"

namespace velawidget {
namespace {

const std::string id = "VELATESTPAYMENTSTATIC00000000001";
const std::string qrLink = "https://qr.vela.example/" + id + "?type=02&sum=100";
const std::string subLink = "https://sub.vela.example/" + id;

struct Delivery {
    std::vector<BankListResult> results;
    std::shared_ptr<RunLoop> queue = std::make_shared<RunLoop>();
    auto completion() {
        return [this](BankListResult result) { results.push_back(std::move(result)); };
    }
    std::function<void(const BankListReport&)> report() {
        return [this](const BankListReport& got) { results.push_back(got.result); };
    }
};

struct FakePlatform {
    std::shared_ptr<vela::test::FakeHttpClient> http =
        std::make_shared<vela::test::FakeHttpClient>();
    vela::test::TempDir caches;
    std::shared_ptr<RunLoop> mainQueue = std::make_shared<RunLoop>();

    Platform platform() const {
        Platform platform;
        platform.http = http;
        platform.files = std::make_shared<PosixFileStore>(caches.path());
        platform.mainQueue = mainQueue;
        return platform;
    }
};

// A kit of its own for every test, on a fake network and fresh caches.
class BankListTest : public ::testing::Test {
  protected:
    FakePlatform fake;
    Kit kit{fake.platform()};

    vela::test::FakeHttpClient& http() { return *fake.http; }
    const vela::test::TempDir& caches() { return fake.caches; }

    /// Runs a query to its end: the download answered with `body`, then `receivOn`.
    BankListResult query(const std::string& link, HttpBody body) {
        Delivery delivery;
        kit.bankList(link, delivery.queue, delivery.report());
        http().respond(0, std::move(body));
        http().callbackQueue().runUntilIdle();
        EXPECT_TRUE(delivery.results.empty()) << "delivered on receivOn only";
        delivery.queue->runUntilIdle();
        EXPECT_EQ(delivery.results.size(), 1u);
        return delivery.results.empty() ? BankListResult(VelaWidgetError::presentationFailed)
                                        : delivery.results.front();
    }
};

// The one test of the process-wide platform and facade: the platform is fixed
// once per process, in this order.
TEST(Facade, TheHostsPlatformWinsAndTheFacadeStartsIdleThenServesQueries) {
    FakePlatform fake;
    bool factoryCalled = false;
    static bool* called = nullptr;
    called = &factoryCalled;
    // A front end's default must lose against what the host installs.
    ASSERT_TRUE(setDefaultPlatformFactory([]() -> Platform {
        *called = true;
        return {};
    }));
    ASSERT_TRUE(installPlatform(fake.platform()));
    EXPECT_EQ(currentPlatform().http, fake.http);
    EXPECT_FALSE(factoryCalled);
    EXPECT_FALSE(installPlatform({}));
    EXPECT_FALSE(setDefaultPlatformFactory(nullptr));
    auto& sdk = VelaWidgetSDK::shared();
    EXPECT_EQ(fake.http->requests().size(), 0u) << "creating the facade downloads nothing";
    EXPECT_TRUE(fake.caches.entries().empty()) << "and touches no file";

    // No selector front end is linked: the selector calls say so before looking at the link.
    EXPECT_THROW(sdk.bankListViewController("not a link"), std::logic_error);
    EXPECT_THROW(sdk.showBankSelector("not a link"), std::logic_error);
    EXPECT_THROW(sdk.presentBankListViewController("x", HostWindow(&sdk)), std::logic_error);

    // The plain overload delivers the banks alone.
    Delivery delivery;
    sdk.bankList(qrLink, delivery.queue, delivery.completion());
    fake.http->respond(0, vela::test::bankListDocument({vela::test::bankWithLogo("f")}));
    fake.http->callbackQueue().runUntilIdle();
    delivery.queue->runUntilIdle();
    ASSERT_EQ(delivery.results.size(), 1u);
    ASSERT_TRUE(delivery.results[0].has_value());
    EXPECT_EQ(delivery.results[0].value().size(), 1u);
}

// Which texts are payment links is the link tests' business.
TEST_F(BankListTest, RejectedCallsThrowAtOnceAndStartNothing) {
    auto& sdk = kit;
    const auto before = http().requests().size();
    Delivery delivery;
    try {
        sdk.bankList("http://qr.vela.example/" + id, delivery.queue, delivery.report());
        ADD_FAILURE() << "accepted a plain-HTTP link";
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code(), VelaWidgetError::invalidURLString);
    }
    EXPECT_THROW(sdk.bankList(qrLink, nullptr, [](const BankListReport&) {}),
                 std::invalid_argument);
    EXPECT_THROW(sdk.bankList(qrLink, delivery.queue, {}), std::invalid_argument);
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
    std::vector<std::string> links;
    for (const auto& bank : result.value()) links.push_back(bank->name() + " " + bank->dboLink());
    EXPECT_EQ(links,
              (std::vector<std::string>{"Relative logo rlogo://" + tail, "App bankapp://" + tail,
                                        "Web https://online.web.example/" + id + "?type=02&sum=100",
                                        "Bad logo blogo://" + tail}));
    EXPECT_EQ(result.value()[0]->logoURL(), "logos/r.png");
    EXPECT_EQ(result.value()[3]->logoURL(), std::nullopt) << "an address with a space is none";

    // A host drawing its own list records the choice, so the next list starts
    // with it; recent banks are kept by logo address, so one without has no record.
    auto& sdk = kit;
    EXPECT_FALSE(sdk.recordChosenBank(*result.value()[3]));
    EXPECT_TRUE(sdk.recordChosenBank(*result.value()[2]));
    fake.mainQueue->runUntilIdle();
    const auto again = query(qrLink, vela::test::bankListDocument(banks));
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again.value()[0]->name(), "Web");
    EXPECT_EQ(again.value()[1]->name(), "Relative logo");
}

TEST_F(BankListTest, OverlappingQueriesEachCompleteOnceOnTheirOwnQueue) {
    Delivery qr, sub;
    kit.bankList(qrLink, qr.queue, qr.report());
    kit.bankList(subLink, sub.queue, sub.report());
    ASSERT_EQ(http().pendingCount(), 2u);
    http().respond(1, vela::test::bankListDocument({vela::test::bankWithLogo("s")}));
    http().respond(0, std::nullopt);  // nothing cached either: the query fails
    http().callbackQueue().runUntilIdle();
    sub.queue->runUntilIdle();
    EXPECT_TRUE(qr.results.empty());
    qr.queue->runUntilIdle();
    ASSERT_EQ(sub.results.size(), 1u);
    ASSERT_EQ(qr.results.size(), 1u);
    EXPECT_EQ(sub.results[0].value().at(0)->dboLink(), "bankapp://sub.vela.example/" + id);
    EXPECT_EQ(qr.results[0].error(), VelaWidgetError::loadingFaild);
}

TEST_F(BankListTest, TheReportOverloadTellsWhyAndWhereTheBanksCameFrom) {
    const std::string document = vela::test::bankListDocument({vela::test::bankWithLogo("c")});
    for (bool cached : {false, true}) {
        SCOPED_TRACE(cached ? "not a bank list, a cached list" : "fresh download");
        for (auto& name : caches().entries()) std::filesystem::remove_all(caches() / name);
        http().respondAll(std::nullopt);
        if (cached) caches().write("qrbanksListStorage", document);
        std::optional<BankListReport> report;
        auto queue = std::make_shared<RunLoop>();
        kit.bankList(qrLink, queue, [&](const BankListReport& got) { report = got; });
        http().respondAll(cached ? "<html>" : document);
        http().callbackQueue().runUntilIdle();
        queue->runUntilIdle();
        ASSERT_TRUE(report);
        EXPECT_TRUE(report->result.has_value());
        EXPECT_EQ(report->cause,
                  cached ? LoadFailureCause::malformedDocument : LoadFailureCause::none);
        EXPECT_EQ(report->fromCache, cached);
        // The installed store is a PosixFileStore: it knows the file's age.
        EXPECT_EQ(report->cacheAge.has_value(), cached);
        EXPECT_LT(report->cacheAge.value_or(std::chrono::seconds(0)).count(), 600);
    }
}

TEST(BankListReportText, NamesTheCauseAndTheCachedListsAge) {
    BankListReport failed(VelaWidgetError::loadingFaild);
    failed.cause = LoadFailureCause::httpStatus;
    failed.httpStatus = 404;
    EXPECT_NE(failed.message().find("error status instead of the bank list (HTTP 404)"),
              std::string::npos)
        << failed.message();
    BankListReport cached{BankListResult(std::vector<VelaWidgetBankPtr>(2))};
    cached.fromCache = true;
    cached.cause = LoadFailureCause::dnsLookup;
    cached.cacheAge = std::chrono::hours(3) + std::chrono::minutes(5);
    EXPECT_NE(cached.message().find("saved 3 hours ago"), std::string::npos) << cached.message();
    EXPECT_NE(cached.message().find(describe(LoadFailureCause::dnsLookup)), std::string::npos);
}

}  // namespace
}  // namespace velawidget
