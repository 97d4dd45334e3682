#pragma once

#include <velawidget/platform/HttpClient.h>

namespace velawidget {

using HttpClientFactory = HttpClientPtr (*)();

/// A library that brings an HTTP client (the curl one) offers it here. The
/// client it makes fills the platform's HTTP slot when neither the host's
/// platform nor a front end's default platform has one. Constant-initialised,
/// so it may be called from a static initialiser; returns false once the
/// platform is fixed.
bool setDefaultHttpClientFactory(HttpClientFactory factory);

}  // namespace velawidget
