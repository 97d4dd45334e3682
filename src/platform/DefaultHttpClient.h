#pragma once

#include <velawidget/export.h>
#include <velawidget/platform.h>
#include <velawidget/platform/HttpClient.h>

#include <functional>

namespace velawidget {

using HttpClientFactory = HttpClientPtr (*)();

/// `platform` with its empty members filled as installing a platform fills
/// them: the portable defaults, and the linked client library's HTTP client.
VELAWIDGET_API Platform withPortableDefaults(Platform platform);

/// A library that brings an HTTP client (the curl one) offers it here. The
/// client it makes fills the platform's HTTP slot when neither the host's
/// platform nor a front end's default platform has one. Constant-initialised,
/// so it may be called from a static initialiser; returns false once the
/// platform is fixed.
bool setDefaultHttpClientFactory(HttpClientFactory factory);

/// Starts `request` on `client` with a completion that learns why a body is
/// missing, sets `abandon` to what ends the transfer early (see
/// `AbandoningClient`), and returns true, when `client` is a class the
/// function knows; false, touching nothing, otherwise.
using FailureReportingFetch = bool (*)(HttpClient& client, HttpRequest& request,
                                       std::function<void(HttpResponse)>& completion,
                                       std::function<void()>& abandon);

/// A client library whose public class keeps its 1.0 base (the curl one)
/// offers `fetch` for it here, since the class cannot derive from
/// `HttpClientWithFailures`. One slot, constant-initialised, set from a
/// static initialiser.
void offerFailureReporting(FailureReportingFetch fetch);
/// The offered function, or none.
FailureReportingFetch failureReporting();

}  // namespace velawidget
