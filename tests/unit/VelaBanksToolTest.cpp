#include <gtest/gtest.h>

#ifdef VELA_BANKS_BINARY

#include <algorithm>
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

boost::json::value json(const std::string& text) {
    boost::json::error_code code;
    auto value = boost::json::parse(text, code);
    EXPECT_FALSE(code) << text;
    return value;
}

TEST(VelaBanksToolTest, ExitCodesAndJsonShapes) {
    vela::test::TempDir dir;
    const std::string domain(serviceDomain);
    const std::string link = "https://sub." + domain + "/AS1000670LSS7DN18SJQDNP4B05KLJL2?x=1";

    auto run = runTool(dir, {"check", link, "--json"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json(run.out),
              json(R"({"kind":"sub","host":"sub.)" + domain + R"(","bankListURL":"https://sub.)" +
                   domain + R"(/proxyapp/c2bmembers.json"})"));

    for (const std::string& rejected :
         {"http://sub." + domain + "/AS1000670LSS7DN18SJQDNP4B05KLJL2",
          std::string("not a link")}) {
        run = runTool(dir, {"check", "--json", rejected});
        EXPECT_EQ(run.status, 2) << rejected;
        EXPECT_EQ(json(run.out), json(R"({"error":"invalidURLString"})"));
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }

    const std::string document =
        R"({"version":"1","dictionary":[{"bankName":"A \"q\"","logoURL":"la","schema":"a",)"
        R"("webClientUrl":"https://w","isWebClientActive":"true","extra":1},)"
        R"({"bankName":"B","logoURL":"lb","schema":"b","webClientUrl":null}]})";
    const std::string expected =
        R"([{"bankName":"A \"q\"","logoURL":"la","schema":"a","webClientUrl":"https://w",)"
        R"("isWebClientActive":"true"},{"bankName":"B","logoURL":"lb","schema":"b",)"
        R"("webClientUrl":null,"isWebClientActive":null}])";
    run = runTool(dir, {"decode", "-", "--json"}, document);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, expected + "\n");

    run =
        runTool(dir, {"decode", "-", "--json"}, R"({"version":"1","dictionary":[{"bankName":1}]})");
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("bankName"), std::string::npos) << run.err;
    run = runTool(dir, {"decode", (dir / "missing.json").string()});
    EXPECT_EQ(run.status, 3);

    const std::vector<std::vector<std::string>> badLines{{},
                                                         {"unknown"},
                                                         {"check"},
                                                         {"check", "a", "b"},
                                                         {"decode", "-", "--verbose"},
                                                         {"check", link, "--json=yes"},
                                                         {"--json", "check", link}};
    for (const auto& line : badLines) {
        run = runTool(dir, line);
        EXPECT_EQ(run.status, 64) << testing::PrintToString(line);
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
}

}  // namespace
}  // namespace velawidget

#endif
