#include <velawidget/platform/HttpClient.h>

#include <typeinfo>

namespace velawidget::quick {
namespace {

// HttpClient has no key function, so its type information lives in every
// library with a class derived from it directly. In 1.0 the Qt client was
// one, and this library exports that copy, which hosts may have bound to;
// now that the client derives from HttpClientWithFailures, it is kept here.
[[gnu::used]] const std::type_info& httpClientType = typeid(HttpClient);

}  // namespace
}  // namespace velawidget::quick
