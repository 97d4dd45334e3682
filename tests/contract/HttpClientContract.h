#pragma once

// One behaviour, two HTTP clients: the cases in HttpClientContract.cpp are
// compiled into each client's test binary, which defines `clientUnderTest`.

#include <velawidget/platform/HttpClient.h>
#include <velawidget/platform/HttpClientOptions.h>

#include <functional>
#include <memory>
#include <string>

namespace vela::test {

/// The common client settings.
struct ClientSetup : velawidget::HttpClientOptions {};

struct ClientUnderTest {
    std::string name;  ///< shown in the test names, e.g. "curl"
    std::function<std::shared_ptr<velawidget::HttpClient>(const ClientSetup&)> make;
};

/// Defined once per test binary.
ClientUnderTest clientUnderTest();

}  // namespace vela::test
