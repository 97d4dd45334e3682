#include <gtest/gtest.h>

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
}

}  // namespace
}  // namespace velawidget
