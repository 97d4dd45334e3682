#include <gtest/gtest.h>
#include <velawidget/platform/PosixFileStore.h>

#include "catalogue/Storage.h"
#include "support/BankDocuments.h"
#include "support/FakeHttpClient.h"
#include "support/TempDir.h"

namespace velawidget {
namespace {

using vela::test::bankListDocument;
using vela::test::bankWithLogo;
using vela::test::logosOf;
using Logos = std::vector<std::string>;

std::vector<Bank> banks(const Logos& logos) {
    std::vector<Bank> result;
    for (const auto& logo : logos) result.push_back(bankWithLogo(logo));
    return result;
}

class StorageTest : public ::testing::Test {
  protected:
    vela::test::TempDir dir;
    std::shared_ptr<vela::test::FakeHttpClient> http =
        std::make_shared<vela::test::FakeHttpClient>();
    Storage storage{http, std::make_shared<PosixFileStore>(dir.path())};

    /// Starts a fetch, answers it with `body` and returns every result delivered.
    std::vector<Storage::FetchResult> fetch(Schema schema, bool reorder, HttpBody body) {
        std::vector<Storage::FetchResult> results;
        storage.fetchBankList(schema,
                              reorder ? Storage::Consumer::screen : Storage::Consumer::query,
                              [&](Storage::FetchResult result) { results.push_back(result); });
        http->respond(0, std::move(body));
        http->callbackQueue().runUntilIdle();
        return results;
    }
};

/// Logos of a success, or "emptyCache".
Logos outcome(const Storage::FetchResult& result) {
    if (auto* list = std::get_if<std::vector<Bank>>(&result)) return logosOf(*list);
    return {"emptyCache"};
}

TEST_F(StorageTest, OutcomeOfEveryPathIsOneCompletionAndTheCacheOnlyChangesOnAGoodBody) {
    const std::string qrCache = bankListDocument(banks({"A", "B", "C"}));
    const std::string subCache = bankListDocument(banks({"S"}));
    // Odd spacing and escapes: the cache must hold the body as received, not re-encoded.
    const std::string fresh =
        "{ \"dictionary\" : [ {\"bankName\":\"N\\u00e9\",\"logoURL\":\"X\",\"schema\":\"s\"},"
        "{\"bankName\":\"M\",\"logoURL\":\"C\",\"schema\":\"s\",\"extra\":1} ],\n\"version\":\"2\" "
        "}";
    const std::string emptyList = bankListDocument({});
    // Decodable, but more than a cache file may hold: delivered, never cached.
    std::string oversized = fresh;
    oversized.append(Storage::maxBankListFileBytes + 1 - fresh.size(), ' ');
    const std::string damaged = qrCache.substr(0, 30);
    // Whitespace keeps a document valid at any size: one at the read cap, one past it.
    std::string atCap = qrCache;
    atCap.insert(qrCache.size() - 1, Storage::maxBankListFileBytes - qrCache.size(), ' ');
    const std::string overCap = atCap + " ";
    struct Case {
        const char* name;
        std::optional<std::string> qrFile, subFile;
        bool reorder;
        HttpBody body;
        Logos expected;
        std::optional<std::string> qrFileAfter;  // none: no file at all
    };
    // clang-format off
    const std::vector<Case> cases = {
        // name, qr file, sub file, reorder, body, banks delivered, qr file after
        {"no body, only the other kind cached",              {},       subCache, true,  {},        {"emptyCache"},  {}},
        {"no body, cache, switch on: last-used order",       qrCache,  {},       true,  {},        {"C", "B", "A"}, qrCache},
        {"good body, switch off: still last-used order",     qrCache,  subCache, false, fresh,     {"C", "X"},      fresh},
        {"empty dictionary replaces the cache",              qrCache,  {},       true,  emptyList, {},              emptyList},
        {"body over the file cap leaves the cache readable", qrCache,  {},       true,  oversized, {"C", "X"},      qrCache},
        {"zero-byte body falls back to the cache",           qrCache,  {},       true,  "",        {"C", "B", "A"}, qrCache},
        {"no body, cache is damaged",                        damaged,  {},       true,  {},        {"emptyCache"},  damaged},
        {"no body, cache file at the read cap",              atCap,    {},       false, {},        {"A", "B", "C"}, atCap},
        {"no body, cache file over the read cap",            overCap,  {},       false, {},        {"emptyCache"},  overCap},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directories(dir.path());
        dir.write("lastUsedBanks", "\"C\\nB\"");
        if (c.qrFile) dir.write("qrbanksListStorage", *c.qrFile);
        if (c.subFile) dir.write("subbanksListStorage", *c.subFile);

        const auto results = fetch(Schema::qr, c.reorder, c.body);
        ASSERT_EQ(results.size(), 1u);
        EXPECT_EQ(outcome(results[0]), c.expected);
        EXPECT_EQ(dir.read("qrbanksListStorage"), c.qrFileAfter);
        EXPECT_EQ(dir.read("subbanksListStorage"), c.subFile) << "the other kind is never touched";
    }
}

TEST_F(StorageTest, OverlappingFetchesAnsweredOutOfOrderEachGetTheirOwnOutcome) {
    dir.write("subbanksListStorage", bankListDocument(banks({"S"})));
    std::vector<Logos> qr, sub;
    storage.fetchBankList(Schema::qr, Storage::Consumer::query,
                          [&](auto r) { qr.push_back(outcome(r)); });
    {
        // A value that goes away before its download ends still completes.
        Storage shortLived{http, std::make_shared<PosixFileStore>(dir.path())};
        shortLived.fetchBankList(Schema::sub, Storage::Consumer::query,
                                 [&](auto r) { sub.push_back(outcome(r)); });
    }
    http->respond(1, std::nullopt);
    http->respond(0, bankListDocument(banks({"Q"})));
    http->callbackQueue().runUntilIdle();
    EXPECT_EQ(qr, std::vector<Logos>{{"Q"}});
    EXPECT_EQ(sub, std::vector<Logos>{{"S"}});
}

// A query's host may exit as soon as it has the banks, so its file is
// written first; a screen's shopper waits for the banks, so they go first.
TEST_F(StorageTest, AQueryGetsItsBanksOnceTheFileIsWrittenAScreenBeforeIt) {
    const std::string fresh = bankListDocument(banks({"F"}));
    for (const auto consumer : {Storage::Consumer::query, Storage::Consumer::screen}) {
        const bool query = consumer == Storage::Consumer::query;
        SCOPED_TRACE(query ? "query" : "screen");
        dir.write("qrbanksListStorage", bankListDocument(banks({"old"})));
        std::optional<std::string> fileAtDelivery;
        storage.fetchBankList(Schema::qr, consumer, [&](Storage::FetchResult result) {
            EXPECT_EQ(outcome(result), Logos{"F"});
            fileAtDelivery = dir.read("qrbanksListStorage");
        });
        http->respond(0, fresh);
        http->callbackQueue().runUntilIdle();
        EXPECT_EQ(fileAtDelivery == fresh, query);
        EXPECT_EQ(dir.read("qrbanksListStorage"), fresh) << "written either way";
    }
}

TEST_F(StorageTest, ApplyLastUsedOrder) {
    struct Case {
        const char* name;
        Logos banks;
        std::optional<std::string> file;
        Logos expected;
    };
    // How the file is read is ReadLastUsedBanks' business; here only the reordering.
    // clang-format off
    const std::vector<Case> cases = {
        {"worked example", {"W", "X", "N", "M"}, "\"M\\nP\\nN\"", {"M", "W", "N", "X"}},
        {"only the first of a shared logo moves", {"B", "a", "a"}, "\"a\"", {"a", "B", "a"}},
        {"no file", {"B", "A"}, {}, {"B", "A"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(dir / "lastUsedBanks");
        if (c.file) dir.write("lastUsedBanks", *c.file);
        EXPECT_EQ(logosOf(storage.applyLastUsedOrder(banks(c.banks))), c.expected);
    }
}

TEST_F(StorageTest, ReadLastUsedBanksAcceptsEveryJsonEscape) {
    const std::vector<std::pair<std::string, Logos>> cases = {
        {"\"a\\n\\nb\\nc\"", {"a", "", "b"}},  // the fourth is never read
        {"[\"A\"]", {}},                       // a JSON array is not the format
        {"\"\\\"q\\\" \\\\ \\b\\f\\r\\t\"", {"\"q\" \\ \b\f\r\t"}},
        {"\"\\ud83d\\ude00\\u000A\\u00e9\"", {"\xF0\x9F\x98\x80", "\xC3\xA9"}},
        {"\"a\"" + std::string(Storage::maxLastUsedFileBytes, ' '), {}},  // over the cap
    };
    for (const auto& [file, expected] : cases) {
        SCOPED_TRACE(file);
        dir.write("lastUsedBanks", file);
        EXPECT_EQ(storage.readLastUsedBanks(), expected);
    }
}

TEST_F(StorageTest, UpdateLastUsedBankKeepsThreeDistinctNewestFirst) {
    dir.write("lastUsedBanks", "{not json");  // an unreadable file is started over
    for (const char* logo : {"K", "L", "K", "M", "N"}) storage.updateLastUsedBank(logo);
    EXPECT_EQ(dir.read("lastUsedBanks"), "\"N\\nM\\nK\"");

    // Any text survives the round trip, quotes, controls and non-ASCII included.
    const std::string odd = "https://x/\"a\"\\b\t\xC3\xA9";
    storage.updateLastUsedBank(odd);
    EXPECT_EQ(storage.readLastUsedBanks(), (Logos{odd, "N", "M"}));
    // The longest logo texts a document may hold, all escaped, still fit the file's cap.
    const Logos longest{std::string(maxLogoURLBytes, '\x01'), std::string(maxLogoURLBytes, '\x02'),
                        std::string(maxLogoURLBytes, '\x03')};
    for (auto it = longest.rbegin(); it != longest.rend(); ++it) storage.updateLastUsedBank(*it);
    EXPECT_EQ(storage.readLastUsedBanks(), longest);
    EXPECT_EQ(dir.entries(), Logos{"lastUsedBanks"}) << "no temporary file left behind";
}

}  // namespace
}  // namespace velawidget
