#pragma once

#include <velawidget/platform/HttpClient.h>
#include <velawidget/platform/HttpClientOptions.h>

#include <memory>

#include "platform/AbandoningClient.h"

namespace velawidget::quick {

/// The common client settings.
struct QtHttpClientOptions : HttpClientOptions {};

/// GET on QNetworkAccessManagers that live on a thread of their own, which
/// is also the callback queue. Whether a body is delivered is decided by the
/// HTTP status alone: every status delivers its body, while a transport
/// error, a TLS failure, a body that does not decompress, a body (compressed
/// or not) over the cap, a header block over `maxHeaderBytes`, no body byte
/// within the request's timeout (the header block included) or a fetch longer
/// than the overall limit completes with none. Redirects are followed to
/// https only. Transport only: the client keeps no response cache (the
/// kit's `ResponseCache` sits above it); cache-first requests (logos) travel
/// on a manager of their own, so that they never take the connections a
/// bank list needs. Construction touches no file: the CA file is read at the
/// first request. No request is answered inside the call that made it. The
/// destructor completes every open request with none and joins the thread;
/// nothing is called afterwards. A completion may release the client. Needs
/// a Q(Gui)Application; when that object goes, the client ends its Qt work
/// as its destructor would, and a later request is answered with none, on
/// the client's thread.
class QtHttpClient final : public HttpClientWithFailures, public AbandoningClient {
  public:
    /// Throws `std::invalid_argument` when `connectTo` is not ADDRESS:PORT.
    explicit QtHttpClient(QtHttpClientOptions options);
    ~QtHttpClient() override;
    QtHttpClient(const QtHttpClient&) = delete;
    QtHttpClient& operator=(const QtHttpClient&) = delete;

    void fetch(HttpRequest request, std::function<void(HttpResponse)> completion) override;
    Abandon fetchAbandonable(HttpRequest request,
                             std::function<void(HttpResponse)> completion) override;

  private:
    struct Worker;
    std::shared_ptr<Worker> worker_;
};

}  // namespace velawidget::quick
