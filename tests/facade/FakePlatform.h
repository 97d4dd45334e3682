#pragma once

#include <memory>

#include "support/FakeHttpClient.h"
#include "support/TempDir.h"

namespace vela::test {

/// What the facade tests installed as the process's platform before main.
struct FakePlatform {
    std::shared_ptr<FakeHttpClient> http;
    TempDir caches;
    bool factoryCalled = false;
};

FakePlatform& fakePlatform();

}  // namespace vela::test
