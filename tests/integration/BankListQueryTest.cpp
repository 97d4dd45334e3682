#include <gtest/gtest.h>
#include <stdlib.h>

#include <boost/json/parse.hpp>

#include "support/SandboxProcess.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

namespace velawidget {
namespace {

using vela::test::readFile;
using vela::test::SandboxProcess;
using vela::test::TempDir;

const std::string qrLink = "https://qr.vela.example/VELATESTPAYMENTONEOFF00000000002?sum=100";
const std::string subLink = "https://sub.vela.example/VELATESTPAYMENTREPEAT00000000003";

std::vector<std::string> sandboxFlags(const SandboxProcess& sandbox, const TempDir& caches) {
    return {"--connect-to", sandbox.address(),     "--cacert", sandbox.certFile().string(),
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
    ASSERT_GT(banks.size(), 40u);
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
    EXPECT_NE(run.err.find("transport: The transfer of the bank list broke off"), std::string::npos)
        << run.err;

    // A cached list after a failed download is served with a warning that says so.
    ASSERT_TRUE(sandbox.setFault("status:503:garbage"));
    args = sandboxFlags(sandbox, caches);
    args.insert(args.begin(), qrLink);
    run = list(work, args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("warning: download failed, the banks are the cached list, saved "),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("httpStatus: The payment system's server answered with an error status "
                           "instead of the bank list. (HTTP 503)"),
              std::string::npos)
        << run.err;
}

// Without the test server's settings the snippet installs nothing at all:
// the curl client linked in is the one that tries, and says why it failed.
TEST(BankListQuery, ReadmeSnippetWithoutSettingsUsesTheLinkedCurlClient) {
    TempDir work;
    ASSERT_EQ(setenv("XDG_CACHE_HOME", work.path().c_str(), 1), 0);  // and so no cached list
    auto run = vela::test::runProgram(work, VELA_CONSOLE_HOST, {qrLink});
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_EQ(run.err.find("No HTTP client is installed"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("No bank list could be obtained. The "), std::string::npos) << run.err;
}

}  // namespace
}  // namespace velawidget
