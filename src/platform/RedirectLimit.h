#pragma once

namespace velawidget {

/// Redirects a kit HTTP client follows for one request; the next one ends it
/// with no body (`HttpFailure::transport`). One number for every client, so a
/// chain that works on one works on all. Bank-list and logo hosts need one or
/// two hops; ten is room to spare while a looping chain still ends quickly.
inline constexpr int maxRedirects = 10;

}  // namespace velawidget
