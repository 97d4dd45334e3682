#pragma once

#include <velawidget/platform/HttpClient.h>

#include <functional>

namespace velawidget {

/// Starts `request` on `client` with a completion that learns the status and
/// why a body is missing, from whichever way the client can tell: its
/// `fetch` as an `HttpClientWithFailures`, the one its library offers (the
/// curl client's), or else its plain `get`, whose answer carries status 0
/// and, without a body, the failure `transport`. Same threading and
/// exactly-once rules as the client's own calls.
void fetchWithStatus(HttpClient& client, HttpRequest request,
                     std::function<void(HttpResponse)> completion);

}  // namespace velawidget
