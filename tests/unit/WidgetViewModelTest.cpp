#include <gtest/gtest.h>
#include <velawidget/platform/PosixFileStore.h>
#include <velawidget/platform/RunLoop.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "selection/SelectorSession.h"
#include "selection/WidgetViewModel.h"
#include "support/BankDocuments.h"
#include "support/FakeHttpClient.h"
#include "support/ManualClock.h"
#include "support/TempDir.h"

namespace velawidget {
namespace {

using namespace std::chrono_literals;
using vela::test::bankListDocument;
using vela::test::bankWithLogo;

const std::string id32 = "VELATESTPAYMENTSTATIC00000000001";
const std::string qrLink = "https://qr.vela.example/" + id32 + "?type=01&sum=100";
const std::string subLink = "https://sub.vela.example/" + id32 + "?type=03";

class KeyTexts final : public TextLookup {
  public:
    std::string localized(const std::string& key) const override { return "T:" + key; }
};

/// Holds every open request until the test answers it, from a thread of its own.
class FakeUrlOpener final : public UrlOpener {
  public:
    void open(const std::string& url, std::function<void(bool)> completion) override {
        urls.push_back(url);
        completions.push_back(std::move(completion));
    }
    void answer(std::size_t index, bool accepted) {
        // Like a real opener, it lets go of the completion once it has called it.
        auto completion = std::exchange(completions.at(index), {});
        std::thread([&completion, accepted] { completion(accepted); }).join();
    }
    std::vector<std::string> urls;
    std::vector<std::function<void(bool)>> completions;
};

std::vector<std::string> namesOf(const BankListViewModel& list) {
    std::vector<std::string> names;
    for (const auto& cell : list.cellModels.value()) names.push_back(cell.name);
    return names;
}

class WidgetViewModelTest : public ::testing::Test {
  protected:
    vela::test::TempDir caches;
    std::shared_ptr<vela::test::FakeHttpClient> http =
        std::make_shared<vela::test::FakeHttpClient>();
    Storage storage{http, std::make_shared<PosixFileStore>(caches.path())};
    std::shared_ptr<RunLoop> mainLoop = std::make_shared<RunLoop>();
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    std::shared_ptr<FakeUrlOpener> opener = std::make_shared<FakeUrlOpener>();
    std::shared_ptr<const FixedTexts> texts =
        std::make_shared<const FixedTexts>(std::make_shared<KeyTexts>());
    std::shared_ptr<WidgetViewModel> model = std::make_shared<WidgetViewModel>(
        std::make_shared<BankListViewModel>(clock, texts),
        WidgetViewModel::Services{storage, mainLoop, opener, texts});
    BankListViewModel& list = model->bankListViewModel();
    int dismissals = 0;
    Cancellable dismissWatch = model->dismissPublisher.sink([this](const Unit&) { ++dismissals; });

    std::vector<Bank> qrBanks = {bankWithLogo("qr-a"), bankWithLogo("qr-b"), bankWithLogo("qr-c")};
    std::vector<Bank> subBanks = {bankWithLogo("sub-a"), bankWithLogo("sub-b")};

    void SetUp() override { clock->advance(500ms); }

    // Pending open requests hold the model, which holds their clients: end
    // them, so every test lets all of it go.
    void TearDown() override {
        for (std::size_t i = 0; i < opener->completions.size(); ++i) {
            if (opener->completions[i]) opener->answer(i, false);
        }
        http->respondAll(std::nullopt);
        http->callbackQueue().runUntilIdle();
        mainLoop->runUntilIdle();
    }

    /// Answers the pending download at `index` and runs both queues dry.
    void answer(std::size_t index, const std::optional<std::string>& body) {
        http->respond(index, body);
        http->callbackQueue().runUntilIdle();
        mainLoop->runUntilIdle();
    }

    void tap(const std::string& name) {
        for (const auto& cell : list.cellModels.value()) {
            if (cell.name == name) return list.selectBank(cell);
        }
        FAIL() << "no row " << name;
    }
};

// Cache reading, writing and ordering are the storage tests'.
TEST_F(WidgetViewModelTest, EachLinkShowsItsKindsBanksDownloadingOnlyWhenTheCacheCannotServe) {
    using Names = std::vector<std::string>;
    // A kind new to the model downloads, whatever its cache holds.
    caches.write("qrbanksListStorage", bankListDocument(subBanks));
    ASSERT_TRUE(model->prepare(qrLink));
    ASSERT_EQ(http->pendingURLs(), Names{"https://qr.vela.example/proxyapp/c2bmembers.json"});
    EXPECT_EQ(http->requests()[0].cachePolicy, CachePolicy::ignoreLocalCache);
    EXPECT_EQ(list.banks()[0].bankName, "placholder_0") << "placeholders until the download ends";
    answer(0, bankListDocument(qrBanks));
    EXPECT_EQ(namesOf(list), (Names{"Bank qr-a", "Bank qr-b", "Bank qr-c"}));

    // The same kind again: the cache, before the call returns.
    caches.write("qrbanksListStorage", bankListDocument({bankWithLogo("qr-cached")}));
    ASSERT_TRUE(model->prepare(qrLink));
    EXPECT_EQ(namesOf(list), (Names{"Bank qr-cached"}));

    // Another kind keeps the rows until its download; a tap meanwhile uses the new link.
    ASSERT_TRUE(model->prepare(subLink));
    ASSERT_EQ(http->pendingURLs(), Names{"https://sub.vela.example/proxyapp/c2bmembers.json"});
    tap("Bank qr-cached");
    EXPECT_EQ(opener->urls, Names{"bankapp://sub.vela.example/" + id32 + "?type=03"});

    // Back to QR before the subscription list came: that list is never shown.
    ASSERT_TRUE(model->prepare(qrLink));
    answer(0, bankListDocument(subBanks));
    EXPECT_EQ(namesOf(list), (Names{"Bank qr-cached"}));
    answer(0, bankListDocument({bankWithLogo("qr-new")}));
    EXPECT_EQ(namesOf(list), (Names{"Bank qr-new"}));
}

// The cached list after a failed download is the storage's business.
TEST_F(WidgetViewModelTest, AFailedDownloadKeepsItsMessageUntilARetryLoadsTheList) {
    ASSERT_TRUE(model->prepare(qrLink));
    answer(0, std::nullopt);
    EXPECT_TRUE(list.loadFailed.value());
    // The same kind again downloads (nothing cached); the message stays meanwhile.
    ASSERT_TRUE(model->prepare(qrLink));
    EXPECT_EQ(http->pendingCount(), 1u);
    EXPECT_EQ(list.errorMessage.value(), "T:LS.VelaWidget.emptyBankListFetchingResult");
    answer(0, std::nullopt);

    // Retry puts the loading rows up and downloads again.
    model->retryBankList();
    EXPECT_FALSE(list.errorMessage.value());
    answer(0, bankListDocument(qrBanks));
    EXPECT_EQ(namesOf(list).size(), 3u);

    // Now a failure shows the cached list, flagged until a download succeeds.
    model->retryBankList();
    answer(0, std::nullopt);
    EXPECT_EQ(namesOf(list).size(), 3u);
    EXPECT_FALSE(list.loadFailed.value());
    EXPECT_TRUE(list.mayBeOutdated.value());
    model->retryBankList();
    answer(0, bankListDocument(qrBanks));
    EXPECT_FALSE(list.mayBeOutdated.value());
}

// Web links and a refused bank's result are the results test's business.
TEST_F(WidgetViewModelTest, ATapRecordsTheBankOpensItsLinkAndClosesOrRaisesTheAlert) {
    ASSERT_TRUE(model->prepare(qrLink));
    auto banks = qrBanks;
    banks.push_back({"Broken web bank", "broken", "bankapp", std::nullopt, "true"});
    answer(0, bankListDocument(banks));
    // A bank no link can be built for is no row: a tap on it would do nothing.
    EXPECT_EQ(namesOf(list), (std::vector<std::string>{"Bank qr-a", "Bank qr-b", "Bank qr-c"}));

    tap("Bank qr-a");
    ASSERT_EQ(opener->urls.size(), 1u) << "asked before the tap returned";
    EXPECT_EQ(opener->urls[0], "bankapp://qr.vela.example/" + id32 + "?type=01&sum=100");
    EXPECT_EQ(storage.readLastUsedBanks(), std::vector<std::string>{"qr-a"});
    opener->answer(0, false);
    EXPECT_FALSE(model->bankAppNotFoundError.value()) << "the outcome waits for the main queue";
    mainLoop->runUntilIdle();
    EXPECT_TRUE(model->bankAppNotFoundError.value());

    // The screen may let go of the model while the system is still asked:
    // the request keeps it, and its outcome still arrives.
    tap("Bank qr-c");
    std::weak_ptr<WidgetViewModel> weak = model;
    model.reset();
    EXPECT_FALSE(weak.expired());
    opener->answer(1, true);
    EXPECT_EQ(dismissals, 0);
    mainLoop->runUntilIdle();
    EXPECT_EQ(dismissals, 1);
    EXPECT_TRUE(weak.expired());
}

// A download holds nothing: a model let go meanwhile goes at once, and its
// answer finds nobody.
TEST_F(WidgetViewModelTest, ADownloadDoesNotKeepAReleasedModel) {
    ASSERT_TRUE(model->prepare(qrLink));
    std::weak_ptr<WidgetViewModel> weak = model;
    model.reset();
    EXPECT_TRUE(weak.expired());
    answer(0, bankListDocument(qrBanks));
    EXPECT_EQ(storage.readCachedBankList(Schema::qr).value_or(std::vector<Bank>{}).size(), 3u)
        << "the loader still keeps the list";
}

TEST_F(WidgetViewModelTest, ARejectedLinkLeavesNoBankOfAnEarlierPaymentWithinReach) {
    ASSERT_TRUE(model->prepare(qrLink));
    answer(0, bankListDocument(qrBanks));
    const auto earlierCell = list.cellModels.value().at(0);
    const std::string invalid = "T:LS.VelaWidget.invalidPaymentLink";

    // Parses but is no payment link: kept as the URL, the kind stays, no row
    // is left, and nothing brings one back until a valid link comes.
    const std::string broken = "https://shop.example/" + id32 + "?type=01&sum=999";
    EXPECT_FALSE(model->prepare(broken));
    EXPECT_FALSE(model->linkAccepted());
    ASSERT_TRUE(model->paymentURL());
    EXPECT_EQ(model->paymentURL()->buffer(), broken);
    EXPECT_EQ(model->schema(), Schema::qr);
    EXPECT_TRUE(list.cellModels.value().empty());
    EXPECT_EQ(list.errorMessage.value(), invalid);
    EXPECT_FALSE(list.loadFailed.value()) << "no Retry: the shopper cannot mend the link";
    list.selectBank(earlierCell);
    model->retryBankList();
    list.searchingBarViewInput = "qr";
    clock->advance(BankListViewModel::searchThrottle);
    EXPECT_TRUE(opener->urls.empty());
    EXPECT_TRUE(list.cellModels.value().empty());
    EXPECT_EQ(list.errorMessage.value(), invalid);
    EXPECT_EQ(http->pendingCount(), 0u);

    // A text that does not even parse rejects the link all the same; a
    // download of the earlier link that lands meanwhile shows nothing.
    ASSERT_TRUE(model->prepare(subLink));
    EXPECT_FALSE(model->prepare("::not a link::"));
    EXPECT_EQ(model->paymentURL()->buffer(), subLink) << "what does not parse replaces nothing";
    answer(0, bankListDocument(subBanks));
    EXPECT_TRUE(list.cellModels.value().empty());
    list.selectBank(earlierCell);
    EXPECT_TRUE(opener->urls.empty());

    // The next valid link brings its own payment back, filtered as typed.
    list.searchingBarViewInput = "";
    ASSERT_TRUE(model->prepare("https://sub.vela.example/" + id32 + "?type=03&sum=200"));
    EXPECT_TRUE(list.errorMessage.value() != invalid);
    EXPECT_EQ(namesOf(list), (std::vector<std::string>{"Bank sub-a", "Bank sub-b"}));
    tap("Bank sub-b");
    EXPECT_EQ(opener->urls,
              std::vector<std::string>{"bankapp://sub.vela.example/" + id32 + "?type=03&sum=200"});
}

TEST_F(WidgetViewModelTest, TheListFollowsTheFieldAndANewShowingStartsWithAnEmptySearch) {
    ASSERT_TRUE(model->prepare(qrLink));
    answer(0, bankListDocument(qrBanks));
    SelectorSession session(model);
    session.begin();
    list.searchingBarViewInput = "qr-b";
    clock->advance(BankListViewModel::searchThrottle);
    EXPECT_EQ(namesOf(list), std::vector<std::string>{"Bank qr-b"});
    session.end();

    // The same link again reads the cached list: it still follows the text.
    ASSERT_TRUE(model->prepare(qrLink));
    EXPECT_EQ(list.searchingBarViewInput.value(), "qr-b");
    EXPECT_EQ(namesOf(list), std::vector<std::string>{"Bank qr-b"});

    // A new showing: empty field, every row at once, before any throttle.
    session.begin();
    EXPECT_EQ(list.searchingBarViewInput.value(), "");
    EXPECT_EQ(namesOf(list).size(), 3u);
}

TEST_F(WidgetViewModelTest, AShowingClosedWhileTheBankOpensEndsWithTheSystemsAnswer) {
    std::vector<std::string> events;
    Cancellable watch = model->events.sink(
        [&events](const SelectorEvent& event) { events.emplace_back(toString(event.kind)); });
    std::vector<SelectorResult> results;
    ASSERT_TRUE(model->prepare(qrLink));
    answer(0, bankListDocument(qrBanks));
    for (const bool opened : {true, false}) {
        SCOPED_TRACE(opened);
        events.clear();
        {
            SelectorSession session(model);
            session.setResultHandler(
                [&results](const SelectorResult& result) { results.push_back(result); });
            session.begin();
            tap("Bank qr-b");
            // The window (and the session) may be gone before the system answers.
            session.end();
        }
        mainLoop->runUntilIdle();
        EXPECT_EQ(events, (std::vector<std::string>{"opened", "bankChosen"}));
        const auto told = results.size();
        opener->answer(opener->urls.size() - 1, opened);
        mainLoop->runUntilIdle();
        EXPECT_EQ(events,
                  (std::vector<std::string>{"opened", "bankChosen",
                                            opened ? "bankOpened" : "appNotFound", "closed"}));
        ASSERT_EQ(results.size(), told + 1);
        EXPECT_EQ(results.back().outcome,
                  opened ? SelectorOutcome::bankOpened : SelectorOutcome::bankNotOpened);
        model->bankAppNotFoundError = false;
    }
}

TEST_F(WidgetViewModelTest, EachShowingEndsInOneResultAndTheEventsTellWhatHappened) {
    std::vector<std::string> events;
    Cancellable watch = model->events.sink([&events](const SelectorEvent& event) {
        std::string line(toString(event.kind));
        if (event.count || event.textLength) {
            line += " " + std::to_string(event.count) + "/" + std::to_string(event.textLength);
        }
        if (event.fromCache) line += " cached";
        if (event.cause != LoadFailureCause::none) line += " " + std::string(toString(event.cause));
        if (event.bank) line += " " + event.bank->name() + (event.webClient ? " web" : "");
        events.push_back(line);
    });
    std::vector<SelectorResult> results;
    SelectorSession session(model);
    session.setResultHandler(
        [&results](const SelectorResult& result) { results.push_back(result); });
    auto showing = [&](const std::function<void()>& steps) {
        events.clear();
        session.begin();
        session.begin();
        steps();
        const auto told = results.size();
        session.end();
        session.end();
        EXPECT_EQ(results.size(), told) << "told on the main queue, after the screen went";
        mainLoop->runUntilIdle();
        EXPECT_EQ(results.size(), told + 1);
        return results.back();
    };
    using Lines = std::vector<std::string>;

    auto result = showing([&] {
        ASSERT_TRUE(model->prepare(qrLink));
        answer(0, std::nullopt);
    });
    EXPECT_EQ(result.outcome, SelectorOutcome::loadFailed);
    // The fake client tells no more than "no body".
    EXPECT_EQ(events, (Lines{"opened", "loadFailed transport", "closed"}));

    // The shopper retries, searches (the text itself is never told), and
    // the chosen bank cannot be opened.
    auto banks = qrBanks;
    banks.push_back({"Web bank", "web", "webapp", "https://online.bank.example/pay", "true"});
    result = showing([&] {
        model->retryBankList();
        answer(0, bankListDocument(banks));
        list.searchingBarViewInput = "web ";
        clock->advance(BankListViewModel::searchThrottle);
        tap("Web bank");
        opener->answer(0, false);
        mainLoop->runUntilIdle();
    });
    EXPECT_EQ(result.outcome, SelectorOutcome::bankNotOpened);
    ASSERT_TRUE(result.bank);
    EXPECT_EQ(result.bank->dboLink(), "https://online.bank.example/" + id32 + "?type=01&sum=100");
    EXPECT_TRUE(result.webClient);
    EXPECT_EQ(events, (Lines{"opened", "retry", "listShown 4/0", "search 1/4",
                             "bankChosen Web bank web", "appNotFound Web bank web", "closed"}));

    // A bank opened is the closed-while-opening case's; the cached list serves the next one.
    result = showing([&] { ASSERT_TRUE(model->prepare(qrLink)); });
    EXPECT_EQ(result.outcome, SelectorOutcome::cancelled);
    EXPECT_FALSE(result.bank);
    EXPECT_EQ(events, (Lines{"opened", "listShown 4/0 cached", "closed"}));
}

}  // namespace
}  // namespace velawidget
