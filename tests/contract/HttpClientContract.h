#pragma once

// One behaviour, two HTTP clients: the cases in HttpClientContract.cpp are
// compiled into each client's test binary, which defines `clientUnderTest`.

#include <velawidget/platform/HttpClient.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace vela::test {

/// The settings a case asks of the client under test; the factory maps them
/// onto the client's own options.
struct ClientSetup {
    std::optional<std::filesystem::path> caFile;
    std::optional<std::pair<std::string, std::uint16_t>> connectTo;
    std::optional<std::chrono::milliseconds> timeoutOverride;
    std::optional<std::chrono::milliseconds> overallLimit;
    std::optional<std::size_t> maxBodyBytes;
    /// Where a client with an on-disk response cache keeps it.
    std::filesystem::path cacheDirectory;
};

using ClientFactory = std::function<std::shared_ptr<velawidget::HttpClient>(const ClientSetup&)>;

struct ClientUnderTest {
    std::string name;  ///< shown in the test names, e.g. "curl"
    ClientFactory make;
};

/// Defined once per test binary.
ClientUnderTest clientUnderTest();

}  // namespace vela::test
