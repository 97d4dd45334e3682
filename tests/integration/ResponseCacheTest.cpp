// The kit's response cache: real files in a temporary caches directory, the
// curl client against the sandbox, and a client answered by hand where the
// test decides when an answer comes.

#include <gtest/gtest.h>
#include <velawidget/curl/CurlHttpClient.h>
#include <velawidget/platform/PosixFileStore.h>
#include <velawidget/platform/SerialQueue.h>

#include <filesystem>
#include <future>
#include <string>
#include <utility>

#include "platform/CacheEntry.h"
#include "platform/ResponseCache.h"
#include "support/Completions.h"
#include "support/FakeHttpClient.h"
#include "support/SandboxProcess.h"
#include "support/TempDir.h"

namespace velawidget {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using vela::test::Completions;
using vela::test::SandboxProcess;

const std::string logoA = "https://qr.vela.example/logos/1.png";
const std::string logoB = "https://qr.vela.example/logos/2.png";
const std::string qrList = "https://qr.vela.example/proxyapp/c2bmembers.json";

HttpRequest cacheFirst(const std::string& url) {
    return {url, 60s, CachePolicy::useCacheFirst};
}

HttpClientPtr curlFor(const SandboxProcess& sandbox) {
    curl::CurlHttpClientOptions options;
    options.caFile = sandbox.certFile();
    options.connectTo = sandbox.address();
    return std::make_shared<curl::CurlHttpClient>(options);
}

class ResponseCacheTest : public testing::Test {
  protected:
    ResponseCache over(HttpClientPtr http, ResponseCacheSettings settings = {}) const {
        return {std::move(http), files, fileQueue, std::move(settings)};
    }

    /// Returns once the work queued on the file queue so far has run.
    void drain() const {
        std::promise<void> drained;
        fileQueue->async([&drained] { drained.set_value(); });
        drained.get_future().wait();
    }

    /// One cache-first request, and the file work it queued.
    HttpBody fetch(const ResponseCache& cache, const std::string& url,
                   ResponseCache::KeepTest keep = {}) const {
        Completions done;
        const auto call = cache.get(cacheFirst(url), done.recorder(), std::move(keep));
        EXPECT_TRUE(done.waitFor(1));
        drain();
        return done.bodies.empty() ? HttpBody{} : done.bodies.front();
    }

    fs::path slotFile(const std::string& url, std::size_t slots = 512) const {
        return caches / "responses" / cacheSlotFileName(cacheSlotOf(url, slots));
    }

    vela::test::TempDir caches;
    std::shared_ptr<SerialQueue> fileQueue = std::make_shared<SerialQueue>("response files");
    std::shared_ptr<PosixFileStore> files = std::make_shared<PosixFileStore>(caches.path());
};

TEST_F(ResponseCacheTest, KeepsAWholeAnswerPrivatelyAndServesItOfflineFromItsFileQueue) {
    SandboxProcess sandbox;
    const auto before = sandbox.stat("logos");
    const auto sent = fetch(over(curlFor(sandbox)), logoA);
    ASSERT_TRUE(sent);
    EXPECT_EQ(sandbox.stat("logos"), before + 1);
    EXPECT_EQ(fs::status(caches / "responses").permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(slotFile(logoA)).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);

    sandbox.stop();
    Completions done;
    bool onFileQueue = false;
    const auto call =
        over(curlFor(sandbox)).get(cacheFirst(logoA), [&, record = done.recorder()](HttpBody body) {
            onFileQueue = fileQueue->isCurrent();
            record(std::move(body));
        });
    ASSERT_TRUE(done.waitFor(1));
    EXPECT_EQ(done.bodies.front(), sent);
    EXPECT_TRUE(onFileQueue) << "read and answered off the caller's thread";
}

TEST_F(ResponseCacheTest, ASharedSlotOrAHostileFileIsAMissAndOnlyGoodBodiesAreKept) {
    SandboxProcess sandbox;
    ResponseCacheSettings oneSlot;
    oneSlot.slots = 1;
    const auto cache = over(curlFor(sandbox), oneSlot);
    const auto a = fetch(cache, logoA);
    const auto b = fetch(cache, logoB);
    ASSERT_TRUE(a && b && *a != *b);
    auto asked = sandbox.stat("logos");
    EXPECT_EQ(fetch(cache, logoB), b);
    EXPECT_EQ(sandbox.stat("logos"), asked) << "from the file";
    EXPECT_EQ(fetch(cache, logoA), a);
    EXPECT_EQ(sandbox.stat("logos"), ++asked) << "b had taken the only slot";

    const std::string slot = "responses/" + cacheSlotFileName(0);
    const std::string good = encodeCacheEntry(logoA, *a);
    std::string flipped = good;
    flipped.back() ^= 1;
    const std::pair<const char*, std::string> hostile[] = {
        {"cut short", good.substr(0, good.size() - 1)},
        {"padded", good + "x"},
        {"another address", encodeCacheEntry(logoB, *a)},
        {"body changed", flipped},
        {"garbage", "\x89PNG\r\n\x1a\n not a cache file"},
        {"empty", ""},
        {"huge", good + std::string(oneSlot.maxBodyBytes + 1, 'x')},
    };
    for (const auto& [what, bytes] : hostile) {
        caches.write(slot, bytes);
        EXPECT_EQ(fetch(cache, logoA), a) << what;
        EXPECT_EQ(sandbox.stat("logos"), ++asked) << what;
        EXPECT_EQ(caches.read(slot), good) << what << ": replaced by the answer";
    }

    // Delivered, never kept: an error status, a body the caller finds no
    // logo, one over the size kept.
    ResponseCacheSettings small = oneSlot;
    small.maxBodyBytes = b->size() - 1;
    ASSERT_TRUE(sandbox.setFault("status:500"));
    EXPECT_TRUE(fetch(cache, qrList));
    EXPECT_EQ(fetch(cache, logoB, [](std::string_view) { return false; }), b);
    EXPECT_EQ(fetch(over(curlFor(sandbox), small), logoB), b);
    EXPECT_EQ(caches.read(slot), good);
}

TEST_F(ResponseCacheTest, ReleasingTheHandleCallsTheRequestOff) {
    auto http = std::make_shared<vela::test::FakeHttpClient>();
    const auto cache = over(http);
    Completions done;

    // Released while the file queue had not come to it: never sent.
    std::promise<void> go;
    fileQueue->async([held = go.get_future().share()] { held.wait(); });
    (void)cache.get(cacheFirst(logoA), done.recorder());
    go.set_value();
    drain();
    EXPECT_TRUE(http->requests().empty());

    // Released while the client has it: the answer is dropped, not kept.
    auto call = cache.get(cacheFirst(logoA), done.recorder());
    drain();
    ASSERT_EQ(http->pendingCount(), 1u);
    call.cancel();
    http->respond(0, "<svg/>");
    http->callbackQueue().runUntilIdle();
    drain();
    EXPECT_TRUE(done.bodies.empty());
    EXPECT_FALSE(fs::exists(slotFile(logoA)));

    // A completion may release its own handle; its answer is kept.
    Cancellable own;
    own = cache.get(cacheFirst(logoA), [&, record = done.recorder()](HttpBody body) {
        own.cancel();
        record(std::move(body));
    });
    drain();
    http->respond(0, "<svg/>");
    http->callbackQueue().runUntilIdle();
    EXPECT_EQ(done.bodies, std::vector<HttpBody>{"<svg/>"});
    EXPECT_EQ(fetch(cache, logoA), "<svg/>");
    EXPECT_EQ(http->requests().size(), 2u);
}

}  // namespace
}  // namespace velawidget
