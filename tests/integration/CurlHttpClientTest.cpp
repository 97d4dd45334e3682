#include <velawidget/curl/CurlHttpClient.h>

#include "contract/HttpClientContract.h"

namespace vela::test {

ClientUnderTest clientUnderTest() {
    return {"curl", [](const ClientSetup& setup) {
                velawidget::curl::CurlHttpClientOptions options;
                static_cast<velawidget::HttpClientOptions&>(options) = setup;
                return std::make_shared<velawidget::curl::CurlHttpClient>(options);
            }};
}

}  // namespace vela::test
