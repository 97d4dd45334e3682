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

TEST(BankListQuery, CommandLineQueryOverTheSandbox) {
    SandboxProcess sandbox;
    TempDir work, caches, empty;
    const auto list = [&](const std::string& link, const TempDir& dir,
                          std::vector<std::string> args = {}) {
        args.insert(args.begin(),
                    {"list", link, "--connect-to", sandbox.address(), "--cacert",
                     sandbox.certFile().string(), "--caches-dir", dir.path().string()});
        return vela::test::runProgram(work, VELA_BANKS_BINARY, std::move(args));
    };
    auto run = list(qrLink, caches, {"--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto banks = boost::json::parse(run.out).as_array();
    ASSERT_GT(banks.size(), 40u);
    const std::string link(banks.at(0).as_object().at("dboLink").as_string());
    EXPECT_NE(link.find("VELATESTPAYMENTONEOFF00000000002"), std::string::npos) << link;
    EXPECT_EQ(caches.read("qrbanksListStorage"), readFile(VELA_SANDBOX_DATA_DIR "/qr.json"));

    // The server fails: with no cache the query fails and names the cause;
    // a cached list is served with a warning that says so, and why.
    ASSERT_TRUE(sandbox.setFault("status:503:garbage"));
    run = list(subLink, empty);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("(HTTP 503)"), std::string::npos) << run.err;
    run = list(qrLink, caches);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("the banks are the cached list, saved "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("(HTTP 503)"), std::string::npos) << run.err;
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
