#include <gtest/gtest.h>
#include <velawidget/curl/CurlHttpClient.h>

#include <stdexcept>

#include "contract/HttpClientContract.h"

namespace vela::test {

ClientUnderTest clientUnderTest() {
    return {"curl", [](const ClientSetup& setup) {
                velawidget::curl::CurlHttpClientOptions options;
                static_cast<velawidget::HttpClientOptions&>(options) = setup;
                return std::make_shared<velawidget::curl::CurlHttpClient>(options);
            }};
}

namespace {

TEST(CurlHttpClient, RejectsAMalformedConnectTo) {
    for (const char* bad : {"127.0.0.1", "127.0.0.1:", ":443", "host:0", "host:70000", "h:4x"}) {
        velawidget::curl::CurlHttpClientOptions options;
        options.connectTo = bad;
        EXPECT_THROW(velawidget::curl::CurlHttpClient{options}, std::runtime_error) << bad;
    }
}

}  // namespace
}  // namespace vela::test
