#include "platform/qt/SchemeHandlerLaunch.h"

// GIO's headers come without Qt's: one of its structs has a member named
// `signals`, which Qt defines as a keyword.
#include <gio/gio.h>

#include <memory>

namespace velawidget::quick {
namespace {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GioPtr = std::unique_ptr<T, ObjectUnref>;

}  // namespace

SchemeHandlerLaunch launchSchemeHandler(const std::string& scheme, const std::string& url) {
    // GIO reads the registry itself rather than through xdg-open, whose
    // generic mode mistakes a scheme with a digit for a file name and only
    // reports that it failed through an exit status nobody waits for.
    GioPtr<GAppInfo> handler(g_app_info_get_default_for_uri_scheme(scheme.c_str()));
    if (!handler) return {SchemeHandlerLaunch::Outcome::noHandler, {}};
    const char* id = g_app_info_get_id(handler.get());
    std::string name = id ? id : "";

    GioPtr<GAppLaunchContext> context(g_app_launch_context_new());
    GList uris{const_cast<char*>(url.c_str()), nullptr, nullptr};
    GError* error = nullptr;
    if (!g_app_info_launch_uris(handler.get(), &uris, context.get(), &error)) {
        std::string reason = error ? error->message : "unknown error";
        if (error) g_error_free(error);
        return {SchemeHandlerLaunch::Outcome::failed, name + ": " + reason};
    }
    return {SchemeHandlerLaunch::Outcome::launched, name};
}

}  // namespace velawidget::quick
