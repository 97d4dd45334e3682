#include <gtest/gtest.h>

#ifdef VELA_BANKS_BINARY

#include <boost/json/parse.hpp>
#include <boost/json/value.hpp>
#include <string>
#include <vector>

#include "catalogue/Schema.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

namespace velawidget {
namespace {

/// Runs the built tool with `args`, stdin from `input`, and collects what it wrote.
vela::test::ToolRun runTool(const vela::test::TempDir& dir, std::vector<std::string> args,
                            const std::string& input = "") {
    return vela::test::runProgram(dir, VELA_BANKS_BINARY, std::move(args), input);
}

TEST(VelaBanksToolTest, ExitCodesAndJsonShapes) {
    vela::test::TempDir dir;
    const std::string domain(serviceDomain);
    const std::string link = "https://sub." + domain + "/VELATESTPAYMENTSTATIC00000000001?x=1";

    auto run = runTool(dir, {"check", link, "--json"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(boost::json::parse(run.out).as_object().at("kind").as_string(), "sub");
    // Which links are refused is the payment link's business; here how the tool says so.
    run = runTool(dir, {"check", "--json", "not a link"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(boost::json::parse(run.out), boost::json::parse(R"({"error":"invalidURLString"})"));

    run = runTool(dir, {"decode", "-", "--json"},
                  R"({"version":"1","dictionary":[{"bankName":"B","logoURL":"l","schema":"b"}]})");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(boost::json::parse(run.out).as_array().at(0).as_object().at("bankName").as_string(),
              "B");
    run =
        runTool(dir, {"decode", "-", "--json"}, R"({"version":"1","dictionary":[{"bankName":1}]})");
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("bankName"), std::string::npos) << run.err;

    // Escapes from a document never reach the terminal: ESC, C1 CSI, a lone
    // 0x9B byte in a file name, bidi overrides; not in tables, JSON, errors or
    // debug lines (a cached list with no network behind it).
    const std::string hostile =
        R"({"version":"\u009b2J","dictionary":[{"bankName":"\u001b]0;x\u0007\u202e",)"
        R"("logoURL":"\u009b31m","schema":"s\u001b[2J"},{"bankName":"B","logoURL":"l",)"
        R"("schema":"b","isWebClientActive":"\u009b"}]})";
    dir.write("qrbanksListStorage", hostile);
    const std::vector<std::vector<std::string>> printing{
        {"decode", (dir / "qrbanksListStorage").string()},
        {"decode", "-", "--json"},
        {"decode", "x\x1b[2J\x9b"},
        {"\x1b[2J"},  // an unknown command is echoed
        {"list", "https://qr." + domain + "/VELATESTPAYMENTSTATIC00000000001", "--verbose",
         "--json", "--connect-to", "127.0.0.1:1", "--caches-dir", dir.path().string()},
    };
    for (const auto& line : printing) {
        run = runTool(dir, line, hostile);
        const std::string all = run.out + run.err;
        EXPECT_EQ(all.find_first_of("\x1b\x07\x9b"), std::string::npos) << all;
        EXPECT_EQ(all.find("\xE2\x80\xAE"), std::string::npos) << all;
    }
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("scheme: s?[2J"), std::string::npos) << run.err;

    run = runTool(dir, {"check", "a", "b"});
    EXPECT_EQ(run.status, 64);
    EXPECT_NE(run.err.find("usage:"), std::string::npos);
}

}  // namespace
}  // namespace velawidget

#endif
