#include <gtest/gtest.h>
#include <velawidget/curl/CurlHttpClient.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "support/Completions.h"
#include "support/SandboxProcess.h"

namespace velawidget::curl {
namespace {

using namespace std::chrono_literals;
using vela::test::Completions;
using vela::test::SandboxProcess;

const std::string qrList = "https://qr.vela.example/proxyapp/c2bmembers.json";
const std::string subList = "https://sub.vela.example/proxyapp/c2bmembers.json";

CurlHttpClientOptions trusting(const SandboxProcess& sandbox) {
    CurlHttpClientOptions options;
    options.caFile = sandbox.certFile();
    options.connectTo = "127.0.0.1:" + std::to_string(sandbox.port());
    return options;
}

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

HttpBody fetchOnce(CurlHttpClientOptions options, HttpRequest request) {
    Completions done;
    {
        CurlHttpClient client(std::move(options));
        client.get(std::move(request), done.recorder());
        EXPECT_TRUE(done.waitFor(1));
    }
    // The client is gone: a second completion would have arrived by now.
    EXPECT_EQ(done.bodies.size(), 1u);
    return done.bodies.empty() ? HttpBody{} : done.bodies.front();
}

TEST(CurlHttpClient, FetchesEachHostsDocumentOverVerifiedTls) {
    SandboxProcess sandbox;
    Completions done;
    std::thread::id caller = std::this_thread::get_id();
    {
        CurlHttpClient client(trusting(sandbox));
        client.get({qrList}, done.recorder());
        client.get({subList}, done.recorder());
        ASSERT_TRUE(done.waitFor(2));
    }
    ASSERT_EQ(done.bodies.size(), 2u);
    ASSERT_TRUE(done.bodies[0] && done.bodies[1]);
    EXPECT_NE(*done.bodies[0], *done.bodies[1]) << "the Host header picks the document";
    std::set<std::string> served{*done.bodies[0], *done.bodies[1]};
    EXPECT_TRUE(served.count(fileBytes(VELA_SANDBOX_DATA_DIR "/qr.json")));
    EXPECT_TRUE(served.count(fileBytes(VELA_SANDBOX_DATA_DIR "/sub.json")));
    EXPECT_EQ(done.threads[0], done.threads[1]) << "one worker is the callback queue";
    EXPECT_NE(done.threads[0], caller);
}

TEST(CurlHttpClient, RefusesEveryConnectionItCannotVerify) {
    // No trust in the sandbox's self-signed certificate.
    {
        SandboxProcess sandbox;
        CurlHttpClientOptions options;
        options.connectTo = "127.0.0.1:" + std::to_string(sandbox.port());
        EXPECT_FALSE(fetchOnce(options, {qrList}));
    }
    // Trusted, but made out for another host.
    {
        SandboxProcess sandbox({"--cert-hosts", "elsewhere.example"});
        EXPECT_FALSE(fetchOnce(trusting(sandbox), {qrList}));
    }
    // Plain HTTP on the port the link says is HTTPS.
    {
        SandboxProcess sandbox({"--plain"});
        EXPECT_FALSE(fetchOnce(trusting(sandbox), {qrList}));
    }
    // Schemes other than http(s) are never fetched, local files least of all.
    EXPECT_FALSE(fetchOnce({}, {"file:///etc/passwd"}));
    EXPECT_FALSE(fetchOnce({}, {"ftp://127.0.0.1/x"}));
    // Nothing listens on port 1.
    CurlHttpClientOptions closed;
    closed.connectTo = "127.0.0.1:1";
    EXPECT_FALSE(fetchOnce(closed, {qrList}));
}

TEST(CurlHttpClient, TransferFaultsGiveNoBody) {
    SandboxProcess sandbox;
    auto options = trusting(sandbox);
    options.timeoutOverride = 700ms;
    options.overallLimit = 2500ms;

    const auto valid = fetchOnce(options, {qrList});
    ASSERT_TRUE(valid);

    struct Case {
        std::string fault;
        bool bodyExpected;
    };
    const std::vector<Case> cases{
        {"drop", false}, {"truncate", false}, {"huge", false},      {"delay:3000", false},
        {"empty", true}, {"garbage", true},   {"status:500", true}, {"delay:100", true},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(sandbox.setFault(c.fault)) << c.fault;
        const auto body = fetchOnce(options, {qrList});
        EXPECT_EQ(body.has_value(), c.bodyExpected) << c.fault;
        if (c.fault == "empty" && body) {
            EXPECT_EQ(*body, "");
        }
        if ((c.fault == "status:500" || c.fault == "delay:100") && body) {
            EXPECT_EQ(*body, *valid) << c.fault;
        }
    }

    // Bytes keep coming, one a second, so only the overall limit ends it.
    ASSERT_TRUE(sandbox.setFault("slow"));
    options.timeoutOverride = 5s;
    EXPECT_FALSE(fetchOnce(options, {qrList}));
}

TEST(CurlHttpClient, HonoursTheBodyCapAndTheResponseCache) {
    SandboxProcess sandbox;
    auto options = trusting(sandbox);
    options.maxBodyBytes = 1000;  // the documents are far larger
    EXPECT_FALSE(fetchOnce(options, {qrList}));

    // A logo asked for "cache first" is fetched once per client.
    Completions done;
    const std::string logo = "https://qr.vela.example/logos/1.png";
    const auto before = sandbox.stat("logos");
    {
        CurlHttpClient client(trusting(sandbox));
        client.get({logo, 60s, CachePolicy::useCacheFirst}, done.recorder());
        ASSERT_TRUE(done.waitFor(1));
        client.get({logo, 60s, CachePolicy::useCacheFirst}, done.recorder());
        ASSERT_TRUE(done.waitFor(2));
        client.get({logo, 60s, CachePolicy::ignoreLocalCache}, done.recorder());
        ASSERT_TRUE(done.waitFor(3));
    }
    ASSERT_TRUE(done.bodies[0] && done.bodies[1] && done.bodies[2]);
    EXPECT_EQ(*done.bodies[0], *done.bodies[1]);
    EXPECT_EQ(sandbox.stat("logos"), before + 2);
}

TEST(CurlHttpClient, ShutsDownWithRequestsInFlight) {
    SandboxProcess sandbox({"--fault", "delay:30000"});
    Completions done;
    {
        CurlHttpClient client(trusting(sandbox));
        for (int i = 0; i < 5; ++i) client.get({qrList}, done.recorder());
        // A completion that asks for more while the client shuts down still
        // gets exactly one answer.
        client.get({qrList}, [&](HttpBody) { client.get({qrList}, done.recorder()); });
    }
    EXPECT_EQ(done.bodies.size(), 6u);
    for (const auto& body : done.bodies) EXPECT_FALSE(body);
}

TEST(CurlHttpClient, MayBeReleasedByItsOwnCompletion) {
    SandboxProcess sandbox({"--fault", "delay:30000"});
    Completions done;
    auto client = std::make_shared<CurlHttpClient>(trusting(sandbox));
    client->get({qrList}, done.recorder());  // held back by the sandbox
    auto record = done.recorder();
    client->get({"https://qr.vela.example/logos/3.svg"},
                [record, keep = client](HttpBody body) mutable {
                    keep.reset();  // the last reference, on the client's own worker
                    record(std::move(body));
                });
    client.reset();
    ASSERT_TRUE(done.waitFor(2));
    EXPECT_TRUE(done.bodies[0]) << "the logo arrived";
    EXPECT_FALSE(done.bodies[1]) << "the held-back request ended with the client";

    // The sandbox stops promptly even with that request still waiting.
    EXPECT_EQ(sandbox.stop(), 0);
}

TEST(CurlHttpClient, RejectsAMalformedConnectTo) {
    for (const char* bad : {"127.0.0.1", "127.0.0.1:", ":443", "host:0", "host:70000", "h:4x"}) {
        CurlHttpClientOptions options;
        options.connectTo = bad;
        EXPECT_THROW(CurlHttpClient{options}, std::runtime_error) << bad;
    }
}

}  // namespace
}  // namespace velawidget::curl
