#include <velawidget/platform/HttpClient.h>

#include <typeinfo>

namespace velawidget::curl {
namespace {

// HttpClient has no key function, so its type information lives in every
// library whose classes derive from it directly. This one's client did
// until 1.0 and exported that copy, which hosts may have bound to; since
// the client derives from HttpClientWithFailures the copy is kept on purpose.
[[gnu::used]] const std::type_info& httpClientType = typeid(HttpClient);

}  // namespace
}  // namespace velawidget::curl
