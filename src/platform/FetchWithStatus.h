#pragma once

#include <velawidget/platform/HttpClient.h>

#include <functional>

#include "platform/AbandoningClient.h"

namespace velawidget {

/// Starts `request` on `client` with a completion that learns the status and
/// why a body is missing, from whichever way the client can tell: the kit's
/// own clients' abandonable fetch, its `fetch` as an
/// `HttpClientWithFailures`, or else its plain `get`, whose answer carries
/// status 0 and, without a body, the failure `transport`. Same threading and
/// exactly-once rules as the client's own calls. Returns what abandons the
/// transfer (see `AbandoningClient`) when the client can; empty otherwise.
Abandon fetchWithStatus(HttpClient& client, HttpRequest request,
                        std::function<void(HttpResponse)> completion);

}  // namespace velawidget
