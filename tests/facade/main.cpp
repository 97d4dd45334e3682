#include <gtest/gtest.h>
#include <velawidget/platform.h>
#include <velawidget/platform/PosixFileStore.h>

#include "FakePlatform.h"

namespace vela::test {

FakePlatform& fakePlatform() {
    static FakePlatform platform{std::make_shared<FakeHttpClient>(), {}, false};
    return platform;
}

}  // namespace vela::test

int main(int argc, char** argv) {
    using namespace velawidget;
    auto& fake = vela::test::fakePlatform();
    // A front end's default must lose against what the host installs.
    if (!setDefaultPlatformFactory([]() -> Platform {
            vela::test::fakePlatform().factoryCalled = true;
            return {};
        })) {
        return 3;
    }
    Platform platform;
    platform.http = fake.http;
    platform.files = std::make_shared<PosixFileStore>(fake.caches.path());
    if (!installPlatform(std::move(platform))) return 3;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
