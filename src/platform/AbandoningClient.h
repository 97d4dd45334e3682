#pragma once

#include <velawidget/platform/HttpClient.h>

#include <functional>

namespace velawidget {

/// Ends a transfer before its end; see `AbandoningClient`.
using Abandon = std::function<void()>;

/// A client of the kit's own that can end a transfer nobody waits for any
/// more (the Qt client; the curl one offers the same through
/// `offerFailureReporting`, as its public base stays `HttpClient`).
class AbandoningClient {
  public:
    virtual ~AbandoningClient();  // the key function: type information once, in the core

    /// As `HttpClientWithFailures::fetch`, and returns what abandons the
    /// transfer: from any thread, at most once; a transfer still running
    /// ends at once, its connection let go, and its completion runs with
    /// none (`transport`), as for any failure. After the end it does nothing.
    virtual Abandon fetchAbandonable(HttpRequest request,
                                     std::function<void(HttpResponse)> completion) = 0;
};

}  // namespace velawidget
