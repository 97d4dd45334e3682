#include "contract/HttpClientContract.h"

#include <gtest/gtest.h>
#include <velawidget/LoadFailure.h>
#include <velawidget/platform/PosixFileStore.h>
#include <velawidget/platform/SerialQueue.h>

#include <filesystem>
#include <future>
#include <set>
#include <thread>
#include <vector>

#include "catalogue/Storage.h"
#include "platform/FetchWithStatus.h"
#include "platform/RedirectLimit.h"
#include "platform/ResponseCache.h"
#include "support/Completions.h"
#include "support/DebugCapture.h"
#include "support/SandboxProcess.h"
#include "support/TempDir.h"

namespace vela::test {
namespace {

using namespace std::chrono_literals;
using velawidget::CachePolicy;
using velawidget::HttpBody;
using velawidget::HttpRequest;
using velawidget::Storage;

const std::string qrList = "https://qr.vela.example/proxyapp/c2bmembers.json";
const std::string subList = "https://sub.vela.example/proxyapp/c2bmembers.json";
const std::string logo = "https://qr.vela.example/logos/1.png";
// Served gzip-compressed.
const std::string svgLogo = "https://qr.vela.example/logos/1.svg";

class Contract : public testing::TestWithParam<std::string> {
  protected:
    static std::shared_ptr<velawidget::HttpClient> make(const ClientSetup& setup) {
        return clientUnderTest().make(setup);
    }

    ClientSetup trusting(const SandboxProcess& sandbox) const {
        ClientSetup setup;
        setup.caFile = sandbox.certFile();
        setup.connectTo = sandbox.address();
        return setup;
    }

    /// One request on a client of its own; the client is gone before this
    /// returns, so a second completion would have been counted.
    HttpBody fetchOnce(const ClientSetup& setup, HttpRequest request) const {
        Completions done;
        {
            auto client = make(setup);
            client->get(std::move(request), done.recorder());
            EXPECT_TRUE(done.waitFor(1));
        }
        EXPECT_EQ(done.bodies.size(), 1u);
        return done.bodies.empty() ? HttpBody{} : done.bodies.front();
    }

    /// One request through the kit's response cache, its files in `caches_`,
    /// over a client of its own. Returns once the cache's file work is done.
    HttpBody fetchCached(const ClientSetup& setup, HttpRequest request) const {
        Completions done;
        auto fileQueue = std::make_shared<velawidget::SerialQueue>("response files");
        velawidget::ResponseCache cache(
            make(setup), std::make_shared<velawidget::PosixFileStore>(caches_.path()), fileQueue);
        const auto call = cache.get(std::move(request), done.recorder());
        EXPECT_TRUE(done.waitFor(1));
        std::promise<void> drained;
        fileQueue->async([&drained] { drained.set_value(); });
        drained.get_future().wait();
        return done.bodies.empty() ? HttpBody{} : done.bodies.front();
    }

    TempDir caches_;
};

// What came is delivered whatever the status; other failed transfers are
// rows of EachFailureReachesTheLoaderAsItsCause.
TEST_P(Contract, DeliversWhatEachHostSentOnOneCallbackThread) {
    SandboxProcess sandbox;
    auto setup = trusting(sandbox);
    setup.timeoutOverride = 700ms;
    const auto document = readFile(VELA_SANDBOX_DATA_DIR "/qr.json");
    ASSERT_TRUE(document);
    Completions done;
    {
        auto client = make(setup);
        client->get({qrList}, done.recorder());
        client->get({subList}, done.recorder());
        ASSERT_TRUE(done.waitFor(2));
    }
    EXPECT_EQ((std::set{done.bodies[0], done.bodies[1]}),
              (std::set{document, readFile(VELA_SANDBOX_DATA_DIR "/sub.json")}))
        << "the Host header picks the document";
    EXPECT_EQ(done.threads[0], done.threads[1]);
    EXPECT_NE(done.threads[0], std::this_thread::get_id());

    const std::string page = "<html><body>\x01\x02 Service temporarily unavailable";
    const std::pair<const char*, HttpBody> delivered[] = {
        {"empty", ""}, {"status:500", document}, {"status:503:garbage", page}};
    for (const auto& [fault, body] : delivered) {
        ASSERT_TRUE(sandbox.setFault(fault));
        EXPECT_EQ(fetchOnce(setup, {qrList}), body) << fault;
    }
    // Given all the time it needs, a header block over the cap is still no body.
    ASSERT_TRUE(sandbox.setFault("huge-headers"));
    auto patient = setup;
    patient.timeoutOverride = 10s;
    EXPECT_EQ(fetchOnce(patient, {qrList}), std::nullopt) << "huge-headers";
}

TEST_P(Contract, RefusesEveryConnectionItCannotVerify) {
    // A certificate made out for another host; plain HTTP on the HTTPS port.
    for (const auto& args : {std::vector<std::string>{"--cert-hosts", "elsewhere.example"},
                             std::vector<std::string>{"--plain"}}) {
        SandboxProcess sandbox(args);
        EXPECT_FALSE(fetchOnce(trusting(sandbox), {qrList})) << args.front();
    }
    EXPECT_FALSE(fetchOnce({}, {"file:///etc/passwd"}));
    EXPECT_FALSE(fetchOnce({}, {"ftp://127.0.0.1/x"}));
    for (const char* bad : {"127.0.0.1", "127.0.0.1:", ":443", "host:0", "host:70000", "h:4x"}) {
        ClientSetup setup;
        setup.connectTo = bad;
        EXPECT_THROW(make(setup), std::exception) << "connect-to " << bad;
    }
}

// The client only moves bytes; "use cache first" is the kit's response
// cache, above whichever client is installed.
TEST_P(Contract, SendsEveryRequestAndTheKitsCacheAnswersCacheFirstOnesOverIt) {
    SandboxProcess sandbox;
    const auto before = sandbox.stat("logos");
    const HttpRequest cacheFirst{svgLogo, 60s, CachePolicy::useCacheFirst};
    const auto sent = fetchOnce(trusting(sandbox), cacheFirst);
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->rfind("<svg", 0), 0u) << "decompressed";
    EXPECT_EQ(fetchOnce(trusting(sandbox), cacheFirst), sent);
    EXPECT_EQ(sandbox.stat("logos"), before + 2) << "no client keeps a cache of its own";

    EXPECT_EQ(fetchCached(trusting(sandbox), cacheFirst), sent);
    EXPECT_EQ(sandbox.stat("logos"), before + 3);
    sandbox.stop();
    EXPECT_EQ(fetchCached(trusting(sandbox), cacheFirst), sent) << "from the file, offline";
    EXPECT_EQ(fetchCached(trusting(sandbox), {svgLogo}), std::nullopt) << "not cache first";
}

// Every byte the framing promised arrived, but the gzip stream lacks its
// trailer; or the header block was too big for the transport, which lost
// it (Qt drops every header of a block over 100 lines, and with them the
// body's coding). Either is no body, in both clients, and the kit's cache
// keeps nothing of it for the next request.
TEST_P(Contract, NeitherDeliversNorCachesABodyTheTransportCouldNotReadWhole) {
    SandboxProcess sandbox;
    const HttpRequest cacheFirst{qrList, 60s, CachePolicy::useCacheFirst};
    const auto document = readFile(VELA_SANDBOX_DATA_DIR "/qr.json");
    for (const char* fault : {"gzip-truncated", "huge-headers"}) {
        ASSERT_TRUE(sandbox.setFault(fault));
        EXPECT_EQ(fetchCached(trusting(sandbox), cacheFirst), std::nullopt) << fault;
        ASSERT_TRUE(sandbox.setFault("none"));
        const auto before = sandbox.stat("c2bmembers");
        EXPECT_EQ(fetchCached(trusting(sandbox), cacheFirst), document) << fault;
        EXPECT_EQ(sandbox.stat("c2bmembers"), before + 1) << fault << ": asked the server again";
        std::filesystem::remove_all(caches_ / "responses");
    }
}

// One limit for every client: a chain of that many redirects arrives, one
// more ends the request at that hop (its cause is a row of
// EachFailureReachesTheLoaderAsItsCause).
TEST_P(Contract, FollowsRedirectsUpToTheKitsLimit) {
    SandboxProcess sandbox;
    const auto document = readFile(VELA_SANDBOX_DATA_DIR "/qr.json");
    for (const int hops : {velawidget::maxRedirects, velawidget::maxRedirects + 1}) {
        ASSERT_TRUE(sandbox.setFault("redirects:" + std::to_string(hops)));
        const auto before = sandbox.stat("c2bmembers");
        const bool within = hops <= velawidget::maxRedirects;
        EXPECT_TRUE(fetchOnce(trusting(sandbox), {qrList}) == (within ? document : std::nullopt))
            << hops << " redirects";
        EXPECT_EQ(sandbox.stat("c2bmembers"), before + velawidget::maxRedirects + 1)
            << hops << " redirects: requests made";
    }
}

TEST_P(Contract, BankListsNeverWaitBehindSlowLogos) {
    SandboxProcess sandbox;
    Completions logos, list;
    auto client = make(trusting(sandbox));
    const auto before = sandbox.stat("logos");
    for (int i = 1; i <= 8; ++i) {
        client->get({"https://qr.vela.example/logos/" + std::to_string(i) + ".png?delay=60000", 60s,
                     CachePolicy::useCacheFirst},
                    logos.recorder());
    }
    // Six (a browser's count of connections to one host) are held by the server.
    for (int wait = 0; wait < 3000 && sandbox.stat("logos") < before + 6; ++wait) {
        std::this_thread::sleep_for(20ms);
    }
    ASSERT_GE(sandbox.stat("logos"), before + 6);
    // Queued behind the logos, the list would end with none after its timeout.
    client->get({qrList, 10s}, list.recorder());
    ASSERT_TRUE(list.waitFor(1));
    EXPECT_TRUE(list.bodies.front());
    EXPECT_TRUE(logos.bodies.empty());
}

// Neither shutting down with requests in flight nor dropping the last
// reference inside a completion, on the client's own thread, may hang or crash.
TEST_P(Contract, ShutsDownWithRequestsInFlightAndMayBeReleasedByItsCompletion) {
    SandboxProcess sandbox({"--fault", "delay:30000"});
    Completions held, released;
    bool asking = false, answeredInline = false;  // both on the client's thread
    {
        auto client = make(trusting(sandbox));
        for (int i = 0; i < 3; ++i) client->get({qrList}, held.recorder());
        // Asking for more while shutting down still gets exactly one answer,
        // and not inside the completion that asked.
        client->get({qrList}, [&](HttpBody) {
            asking = true;
            client->get({qrList}, [&, record = held.recorder()](HttpBody body) {
                answeredInline = asking;
                record(std::move(body));
            });
            asking = false;
        });
    }
    ASSERT_EQ(held.bodies, std::vector<HttpBody>(4));
    EXPECT_FALSE(answeredInline);

    auto client = make(trusting(sandbox));
    client->get({qrList}, released.recorder());  // held back by the sandbox
    client->get({logo}, [record = released.recorder(), keep = client](HttpBody body) mutable {
        keep.reset();
        record(std::move(body));
    });
    client.reset();
    ASSERT_TRUE(released.waitFor(2));
    // The held-back request ends with the client, the logo arrives, in either order.
    EXPECT_NE(released.bodies[0].has_value(), released.bodies[1].has_value());
    EXPECT_EQ(sandbox.stop(), 0) << "the sandbox stops promptly with that request still waiting";
}

// What the kit's response cache does when its caller lets a request go: the
// transfer ends at once, answered with none, instead of holding its
// connection until the server answers.
TEST_P(Contract, AbandonsATransferNobodyWaitsForAnyMore) {
    SandboxProcess sandbox({"--fault", "delay:120000"});
    auto client = make(trusting(sandbox));
    Completions done;
    const auto before = sandbox.stat("c2bmembers");
    const auto abandon =
        velawidget::fetchWithStatus(*client, {qrList, 180s, CachePolicy::useCacheFirst},
                                    [record = done.recorder()](velawidget::HttpResponse response) {
                                        record(std::move(response.body));
                                    });
    ASSERT_TRUE(abandon);
    for (int wait = 0; wait < 3000 && sandbox.stat("c2bmembers") < before + 1; ++wait) {
        std::this_thread::sleep_for(20ms);
    }
    ASSERT_EQ(sandbox.stat("c2bmembers"), before + 1) << "the server holds the request";
    abandon();
    ASSERT_TRUE(done.waitFor(1)) << "still waiting for the server";
    EXPECT_EQ(done.bodies.front(), std::nullopt);
    EXPECT_NE(done.threads.front(), std::this_thread::get_id());
    abandon();  // after the end: nothing more
    EXPECT_EQ(sandbox.stop(), 0);
    EXPECT_EQ(done.bodies.size(), 1u);
}

struct LoaderOutcome {
    Storage::FetchResult result;
    Storage::Details details;
};

/// One bank-list fetch by the loader on `http` (none: no client at all).
LoaderOutcome loadQrList(std::shared_ptr<velawidget::HttpClient> http, const TempDir& caches) {
    std::promise<LoaderOutcome> done;
    auto arrived = done.get_future();
    Storage(std::move(http), std::make_shared<velawidget::PosixFileStore>(caches.path()))
        .fetchBankList(velawidget::Schema::qr, velawidget::Storage::Consumer::query,
                       [&done](Storage::FetchResult result, const Storage::Details& d) {
                           done.set_value({std::move(result), d});
                       });
    EXPECT_EQ(arrived.wait_for(60s), std::future_status::ready);
    return arrived.get();
}

// Each way a download fails reaches the loader, and so the host, as its own
// cause; a cached list after a failure says that it is one, and how old.
TEST_P(Contract, EachFailureReachesTheLoaderAsItsCause) {
    using velawidget::LoadFailureCause;
    SandboxProcess sandbox;
    const std::string document = readFile(VELA_SANDBOX_DATA_DIR "/qr.json").value_or("");
    ASSERT_FALSE(document.empty());

    struct Row {
        const char* name;
        std::string fault;                       // the sandbox's answer
        std::function<void(ClientSetup&)> tune;  // the client's settings; none: no client at all
        bool cached;                             // a list two hours old in the caches directory
        LoadFailureCause cause;
        int status;  // 0 while no whole header block came
    };
    using S = ClientSetup&;
    const auto same = [](S) {};
    // clang-format off
    const Row rows[] = {
        {"refused port", "none", [](S s) { s.connectTo = "127.0.0.1:1"; }, false, LoadFailureCause::connect, 0},
        // Without --connect-to the link's own host is looked up: .example names none.
        {"unknown host", "none", [](S s) { s.connectTo.reset(); }, false, LoadFailureCause::dnsLookup, 0},
        {"untrusted certificate", "none", [](S s) { s.caFile.reset(); }, false, LoadFailureCause::tls, 0},
        {"slow server, short timeout", "delay:3000", [](S s) { s.timeoutOverride = 300ms; }, false, LoadFailureCause::timeout, 0},
        // A header line every 200 ms: each within the timeout, the block not.
        {"headers trickling in", "trickle-headers", [](S s) { s.timeoutOverride = 700ms; }, false, LoadFailureCause::timeout, 0},
        // Bytes keep coming, one a second, so only the overall limit ends it.
        {"body trickling in", "slow", [](S s) { s.overallLimit = 2500ms; }, false, LoadFailureCause::timeout, 200},
        {"404 with an HTML page", "status:404:garbage", same, false, LoadFailureCause::httpStatus, 404},
        {"oversized body", "huge", same, false, LoadFailureCause::bodyTooLarge, 200},
        {"body over a lower cap", "none", [](S s) { s.maxBodyBytes = 1000; }, false, LoadFailureCause::bodyTooLarge, 200},
        {"decompresses past the cap", "gzip-bomb", same, false, LoadFailureCause::bodyTooLarge, 200},
        {"truncated body", "truncate", same, false, LoadFailureCause::transport, 200},
        {"gzip body without its trailer", "gzip-truncated", same, false, LoadFailureCause::transport, 200},
        {"one redirect too many", "redirects:" + std::to_string(velawidget::maxRedirects + 1), same, false, LoadFailureCause::transport, 302},
        {"header block over the cap", "huge-headers", same, false, LoadFailureCause::transport, 0},
        {"not JSON", "garbage", same, false, LoadFailureCause::malformedDocument, 200},
        {"no HTTP client", "none", nullptr, false, LoadFailureCause::noHttpClient, 0},
        {"cached list after a dropped connection", "drop", same, true, LoadFailureCause::transport, 0},
        {"fresh list", "none", same, true, LoadFailureCause::none, 200},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(sandbox.setFault(row.fault));
        TempDir caches;
        if (row.cached) {
            caches.write("qrbanksListStorage", document);
            std::filesystem::last_write_time(caches / "qrbanksListStorage",
                                             std::filesystem::file_time_type::clock::now() - 2h);
        }
        auto setup = trusting(sandbox);
        if (row.tune) row.tune(setup);
        DebugCapture debug;
        const auto [result, details] = loadQrList(row.tune ? make(setup) : nullptr, caches);
        // Nothing else tells a host without a client why every list fails.
        EXPECT_EQ(debug.linesStartingWith("no HTTP client").size(), row.tune ? 0u : 1u);
        EXPECT_EQ(details.cause, row.cause) << velawidget::toString(details.cause);
        const auto* error = std::get_if<Storage::Error>(&result);
        EXPECT_EQ(!error, row.cached) << "banks exactly when a list was at hand";
        EXPECT_EQ(error ? error->cause : row.cause, row.cause);
        EXPECT_EQ(details.httpStatus, row.status);
        const bool failed = row.cause != LoadFailureCause::none;
        EXPECT_EQ(details.source == Storage::Source::cacheAfterFailure, failed);
        EXPECT_EQ(details.cacheAge.has_value(), row.cached && failed);
        EXPECT_NEAR(static_cast<double>(details.cacheAge.value_or(2h).count()), 7200.0, 120.0);
    }
}

// The generator runs when the tests are registered, after static
// initialisation, so the binary's factory may use anything it sets up.
INSTANTIATE_TEST_SUITE_P(Http, Contract, testing::Values(clientUnderTest().name),
                         [](const auto& info) { return info.param; });

}  // namespace

}  // namespace vela::test
