#include <velawidget/platform.h>
#include <velawidget/platform/PosixFileStore.h>
#include <velawidget/platform/RunLoop.h>

#include <atomic>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "core/Debug.h"
#include "platform/DefaultHttpClient.h"
#include "platform/portable/KeyTextLookup.h"
#include "platform/portable/NullHttpClient.h"
#include "platform/portable/RefusingUrlOpener.h"

namespace velawidget {
namespace {

using Factory = Platform (*)();

// The two slots are claimed lock-free. Fixing the platform swaps a "sealed"
// marker into each, so an install racing with the first use either lands
// before it (and counts) or sees the marker (and reports false); it is never
// accepted and then ignored. Both are constant-initialised, so a front end may
// register its factory from a static initialiser.
Platform sealedPlatformMarker;
Platform sealedFactoryMarker() {
    return {};
}

HttpClientPtr sealedHttpFactoryMarker() {
    return nullptr;
}

std::atomic<Platform*> pendingPlatform{nullptr};
std::atomic<Factory> pendingFactory{nullptr};
std::atomic<HttpClientFactory> pendingHttpFactory{nullptr};
// The offer the platform was fixed with, for kits made later.
std::atomic<HttpClientFactory> fixedHttpFactory{nullptr};
std::atomic<FailureReportingFetch> offeredFailureReporting{nullptr};

/// The linked library's client, or none when there is none or it cannot start.
HttpClientPtr defaultHttpClient(HttpClientFactory factory) {
    if (!factory) return nullptr;
    try {
        return factory();
    } catch (const std::exception& error) {
        debugLine(std::string("default HTTP client not started: ") + error.what());
        return nullptr;
    }
}

void fillDefaults(Platform& platform, HttpClientFactory httpFactory) {
    if (!platform.files) platform.files = std::make_shared<PosixFileStore>();
    if (!platform.mainQueue || !platform.scheduler) {
        auto loop = std::make_shared<RunLoop>();
        if (!platform.mainQueue) platform.mainQueue = loop;
        if (!platform.scheduler) platform.scheduler = loop;
    }
    if (!platform.http) platform.http = defaultHttpClient(httpFactory);
    if (!platform.http) platform.http = std::make_shared<NullHttpClient>();
    if (!platform.urlOpener) platform.urlOpener = std::make_shared<RefusingUrlOpener>();
    if (!platform.texts) platform.texts = std::make_shared<KeyTextLookup>();
}

Platform fixPlatform() {
    const Factory factory = pendingFactory.exchange(&sealedFactoryMarker);
    const HttpClientFactory httpFactory = pendingHttpFactory.exchange(&sealedHttpFactoryMarker);
    fixedHttpFactory.store(httpFactory);
    std::unique_ptr<Platform> installed(pendingPlatform.exchange(&sealedPlatformMarker));
    Platform platform;
    if (installed) {
        platform = std::move(*installed);
    } else if (factory) {
        platform = factory();
    }
    fillDefaults(platform, httpFactory);
    return platform;
}

}  // namespace

Platform withPortableDefaults(Platform platform) {
    HttpClientFactory factory = pendingHttpFactory.load();
    if (factory == &sealedHttpFactoryMarker) factory = fixedHttpFactory.load();
    fillDefaults(platform, factory);
    return platform;
}

bool installPlatform(Platform platform) {
    auto candidate = std::make_unique<Platform>(std::move(platform));
    Platform* current = pendingPlatform.load();
    do {
        if (current == &sealedPlatformMarker) return false;
    } while (!pendingPlatform.compare_exchange_weak(current, candidate.get()));
    (void)candidate.release();  // owned by pendingPlatform from here on
    // Only the thread that swapped a node out ever touches it, so this is safe.
    delete current;
    return true;
}

bool setDefaultPlatformFactory(Platform (*factory)()) {
    Factory current = pendingFactory.load();
    do {
        if (current == &sealedFactoryMarker) return false;
    } while (!pendingFactory.compare_exchange_weak(current, factory));
    return true;
}

bool setDefaultHttpClientFactory(HttpClientFactory factory) {
    HttpClientFactory current = pendingHttpFactory.load();
    do {
        if (current == &sealedHttpFactoryMarker) return false;
    } while (!pendingHttpFactory.compare_exchange_weak(current, factory));
    return true;
}

void offerFailureReporting(FailureReportingFetch fetch) {
    offeredFailureReporting.store(fetch);
}

FailureReportingFetch failureReporting() {
    return offeredFailureReporting.load();
}

const Platform& currentPlatform() {
    // The one lock of the kit: thread-safe one-time initialisation.
    static const Platform platform = fixPlatform();
    return platform;
}

}  // namespace velawidget
