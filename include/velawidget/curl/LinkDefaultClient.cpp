// Compiled into every program that links VelaWidget::curl (the library's
// interface source). Its reference to the default-client offer is what makes
// the linker keep the offer: a static link pulls it in, and an --as-needed
// link (the toolchain's default) keeps the shared library, even when the
// program names nothing of the client itself.
#include <velawidget/curl/CurlHttpClient.h>

namespace {
[[gnu::used]] const bool* const velawidgetCurlDefaultClient =
    &velawidget::curl::detail::defaultClientOffered;
}  // namespace
