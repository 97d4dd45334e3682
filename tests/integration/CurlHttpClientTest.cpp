#include <gtest/gtest.h>
#include <velawidget/curl/CurlHttpClient.h>

#include <stdexcept>

#include "contract/HttpClientContract.h"

namespace vela::test {

ClientUnderTest clientUnderTest() {
    return {"curl", [](const ClientSetup& setup) {
                velawidget::curl::CurlHttpClientOptions options;
                options.caFile = setup.caFile;
                if (setup.connectTo) {
                    options.connectTo =
                        setup.connectTo->first + ":" + std::to_string(setup.connectTo->second);
                }
                options.timeoutOverride = setup.timeoutOverride;
                if (setup.overallLimit) options.overallLimit = *setup.overallLimit;
                if (setup.maxBodyBytes) options.maxBodyBytes = *setup.maxBodyBytes;
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
