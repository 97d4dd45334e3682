#pragma once

#include <velawidget/export.h>

#include <string_view>

namespace velawidget {

/// Why a bank list could not be downloaded. The ordinals are part of the
/// public contract, as those of `VelaWidgetError`: new causes are appended.
enum class LoadFailureCause : int {
    /// The list was downloaded.
    none = 0,
    /// The program installed no HTTP client: nothing was requested.
    noHttpClient,
    /// The device has no network route.
    offline,
    /// The payment system's host name did not resolve.
    dnsLookup,
    /// The server could not be reached or refused the connection.
    connect,
    /// The TLS handshake failed or the certificate was not trusted.
    tls,
    /// The server did not answer within the request's time.
    timeout,
    /// The server answered with an error status and no bank list.
    httpStatus,
    /// The answer was larger than the client accepts.
    bodyTooLarge,
    /// The answer was not a bank-list document.
    malformedDocument,
    /// Any other transfer failure: a cut-off or undecodable body, an
    /// oversized header block, too many redirects.
    transport,
};

/// The cause as its name ("dnsLookup"), for logs and analytics.
VELAWIDGET_API std::string_view toString(LoadFailureCause cause) noexcept;

/// One plain English sentence a host can log ("The payment system's host
/// name could not be resolved.").
VELAWIDGET_API std::string_view describe(LoadFailureCause cause) noexcept;

}  // namespace velawidget
