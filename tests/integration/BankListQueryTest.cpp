#include <gtest/gtest.h>
#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/curl/CurlHttpClient.h>
#include <velawidget/platform.h>
#include <velawidget/platform/PosixFileStore.h>
#include <velawidget/platform/SerialQueue.h>

#include <boost/json/parse.hpp>
#include <condition_variable>
#include <mutex>

#include "catalogue/BankListDocument.h"
#include "support/SandboxProcess.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

namespace velawidget {
namespace {

using namespace std::chrono_literals;
using vela::test::readFile;
using vela::test::SandboxProcess;
using vela::test::TempDir;

const std::string qrLink = "https://qr.vela.example/VELATESTPAYMENTONEOFF00000000002?sum=100";
const std::string subLink = "https://sub.vela.example/VELATESTPAYMENTREPEAT00000000003";

std::vector<std::string> servedNames(const char* file) {
    auto document =
        decodeBankList(readFile(std::filesystem::path(VELA_SANDBOX_DATA_DIR) / file).value_or(""));
    EXPECT_EQ(document.index(), 0u);
    std::vector<std::string> names;
    if (const auto* decoded = std::get_if<BankListResponse>(&document)) {
        for (const auto& bank : decoded->dictionary) names.push_back(bank.bankName);
    }
    return names;
}

std::vector<std::string> sandboxFlags(const SandboxProcess& sandbox, const TempDir& caches) {
    return {"--connect-to", "127.0.0.1:" + std::to_string(sandbox.port()),
            "--cacert",     sandbox.certFile().string(),
            "--caches-dir", caches.path().string()};
}

vela::test::ToolRun list(const TempDir& work, std::vector<std::string> args) {
    args.insert(args.begin(), "list");
    return vela::test::runProgram(work, VELA_BANKS_BINARY, std::move(args));
}

TEST(BankListQuery, CommandLineQueryOverTheSandbox) {
    SandboxProcess sandbox;
    TempDir work, caches;

    auto args = sandboxFlags(sandbox, caches);
    args.insert(args.begin(), {qrLink, "--json", "--verbose"});
    auto run = list(work, args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(
        run.err.find("fetching bank list, url: https://qr.vela.example/proxyapp/c2bmembers.json"),
        std::string::npos)
        << run.err;

    const auto banks = boost::json::parse(run.out).as_array();
    const auto served = servedNames("qr.json");
    ASSERT_GT(banks.size(), 40u);
    EXPECT_LE(banks.size(), served.size()) << "banks without a link are left out";
    for (const auto& value : banks) {
        const std::string link(value.as_object().at("dboLink").as_string());
        EXPECT_NE(link.find("VELATESTPAYMENTONEOFF00000000002"), std::string::npos) << link;
    }
    EXPECT_EQ(caches.read("qrbanksListStorage"),
              readFile(std::filesystem::path(VELA_SANDBOX_DATA_DIR) / "qr.json"));

    // The server fails and there is no cache: the query fails as a whole.
    ASSERT_TRUE(sandbox.setFault("drop"));
    TempDir empty;
    args = sandboxFlags(sandbox, empty);
    args.insert(args.begin(), subLink);
    run = list(work, args);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("loadingFaild"), std::string::npos) << run.err;
}

/// Two queries in flight at once, through the one facade of this process,
/// each answered on its own queue with its own kind's banks.
TEST(BankListQuery, ConcurrentQueriesOnTwoQueues) {
    SandboxProcess sandbox;
    TempDir caches;
    curl::CurlHttpClientOptions options;
    options.caFile = sandbox.certFile();
    options.connectTo = "127.0.0.1:" + std::to_string(sandbox.port());
    ASSERT_TRUE(installPlatform({.http = std::make_shared<curl::CurlHttpClient>(options),
                                 .files = std::make_shared<PosixFileStore>(caches.path())}));

    auto qrQueue = std::make_shared<SerialQueue>("qr");
    auto subQueue = std::make_shared<SerialQueue>("sub");
    std::mutex mutex;
    std::condition_variable changed;
    struct Outcome {
        std::vector<std::string> names;
        bool onItsQueue = false;
        int calls = 0;
    };
    Outcome qr, sub;
    auto record = [&](Outcome& into, const std::shared_ptr<SerialQueue>& queue) {
        return [&into, &mutex, &changed, queue](BankListResult result) {
            std::lock_guard lock(mutex);
            ++into.calls;
            into.onItsQueue = queue->isCurrent();
            if (result) {
                for (const auto& bank : result.value()) into.names.push_back(bank->name());
            }
            changed.notify_all();
        };
    };
    std::thread other(
        [&] { VelaWidgetSDK::shared().bankList(subLink, subQueue, record(sub, subQueue)); });
    VelaWidgetSDK::shared().bankList(qrLink, qrQueue, record(qr, qrQueue));
    other.join();
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, 60s, [&] { return qr.calls && sub.calls; }));
    }
    qrQueue.reset();  // drains and joins: a second call would land before this returns
    subQueue.reset();
    EXPECT_EQ(qr.calls, 1);
    EXPECT_EQ(sub.calls, 1);
    EXPECT_TRUE(qr.onItsQueue);
    EXPECT_TRUE(sub.onItsQueue);
    ASSERT_FALSE(qr.names.empty());
    ASSERT_FALSE(sub.names.empty());
    const auto qrServed = servedNames("qr.json");
    const auto subServed = servedNames("sub.json");
    for (const auto& name : qr.names) {
        EXPECT_NE(std::find(qrServed.begin(), qrServed.end(), name), qrServed.end()) << name;
    }
    for (const auto& name : sub.names) {
        EXPECT_NE(std::find(subServed.begin(), subServed.end(), name), subServed.end()) << name;
    }
    EXPECT_NE(qr.names, sub.names);
}

}  // namespace
}  // namespace velawidget
