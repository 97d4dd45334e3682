#include "platform/qt/SchemeHandlerLaunch.h"

// GIO's headers come without Qt's: one of its structs has a member named
// `signals`, which Qt defines as a keyword. Only its declarations are used
// here: the library itself is opened on the first launch.
#include <gio/gio.h>

#include <memory>

#include "platform/LoadedLibrary.h"

namespace velawidget::quick {
namespace {

/// The GIO calls a launch makes, looked up once per process and typed by
/// GIO's header.
struct Gio {
    LoadedLibrary library{"libgio-2.0.so.0"};
    decltype(&::g_app_info_get_default_for_uri_scheme) defaultForScheme = nullptr;
    decltype(&::g_app_info_get_id) idOf = nullptr;
    decltype(&::g_app_launch_context_new) newContext = nullptr;
    decltype(&::g_app_info_launch_uris) launchUris = nullptr;
    decltype(&::g_error_free) freeError = nullptr;
    decltype(&::g_object_unref) unref = nullptr;

    Gio() {
        library.bind(defaultForScheme, "g_app_info_get_default_for_uri_scheme");
        library.bind(idOf, "g_app_info_get_id");
        library.bind(newContext, "g_app_launch_context_new");
        library.bind(launchUris, "g_app_info_launch_uris");
        library.bind(freeError, "g_error_free");
        library.bind(unref, "g_object_unref");
    }

    bool complete() const {
        return defaultForScheme && idOf && newContext && launchUris && freeError && unref;
    }
};

const Gio& gio() {
    static Gio calls;
    return calls;
}

template <typename T>
using GioPtr = std::unique_ptr<T, void (*)(gpointer)>;

}  // namespace

SchemeHandlerLaunch launchSchemeHandler(const std::string& scheme, const std::string& url) {
    const Gio& g = gio();
    if (!g.complete()) {
        return {SchemeHandlerLaunch::Outcome::failed,
                "the desktop's handler registry is unavailable: " + g.library.error()};
    }
    // GIO reads the registry itself rather than through xdg-open, whose
    // generic mode mistakes a scheme with a digit for a file name and only
    // reports that it failed through an exit status nobody waits for.
    GioPtr<GAppInfo> handler(g.defaultForScheme(scheme.c_str()), g.unref);
    if (!handler) return {SchemeHandlerLaunch::Outcome::noHandler, {}};
    const char* id = g.idOf(handler.get());
    std::string name = id ? id : "";

    GioPtr<GAppLaunchContext> context(g.newContext(), g.unref);
    GList uris{const_cast<char*>(url.c_str()), nullptr, nullptr};
    GError* error = nullptr;
    if (!g.launchUris(handler.get(), &uris, context.get(), &error)) {
        std::string reason = error ? error->message : "unknown error";
        if (error) g.freeError(error);
        return {SchemeHandlerLaunch::Outcome::failed, name + ": " + reason};
    }
    return {SchemeHandlerLaunch::Outcome::launched, name};
}

}  // namespace velawidget::quick
