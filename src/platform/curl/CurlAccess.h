#pragma once

#include <velawidget/curl/CurlHttpClient.h>

#include "platform/AbandoningClient.h"

namespace velawidget::curl {

/// What the library offers the kit beyond the public class.
struct CurlAccess {
    /// As `AbandoningClient::fetchAbandonable`.
    static Abandon fetchAbandonable(CurlHttpClient& client, HttpRequest request,
                                    std::function<void(HttpResponse)> completion);
};

}  // namespace velawidget::curl
