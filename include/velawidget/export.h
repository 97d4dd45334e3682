#pragma once

/// Marks the kit's public API, one mark per library so that on Windows each
/// DLL exports its own names and imports the others'. The curl and Qt Quick
/// libraries are built with hidden symbol visibility, so a shared build of
/// them exports exactly what carries a mark. A shared core exports its
/// internals too, for the kit's own libraries and tools, under the private
/// version node of cmake/velawidget.map; there the mark says what is public. Each library's build
/// defines VELAWIDGET_BUILDING_<NAME>; static builds define VELAWIDGET_STATIC for themselves and
/// their hosts.
#if defined(VELAWIDGET_STATIC)
#define VELAWIDGET_EXPORT_
#define VELAWIDGET_IMPORT_
#elif defined(_WIN32) || defined(__CYGWIN__)
#define VELAWIDGET_EXPORT_ __declspec(dllexport)
#define VELAWIDGET_IMPORT_ __declspec(dllimport)
#else
#define VELAWIDGET_EXPORT_ __attribute__((visibility("default")))
#define VELAWIDGET_IMPORT_ __attribute__((visibility("default")))
#endif

/// The core library `velawidget`.
#if defined(VELAWIDGET_BUILDING_CORE)
#define VELAWIDGET_API VELAWIDGET_EXPORT_
#else
#define VELAWIDGET_API VELAWIDGET_IMPORT_
#endif

/// The HTTP client on libcurl, `velawidget_curl`.
#if defined(VELAWIDGET_BUILDING_CURL)
#define VELAWIDGET_CURL_API VELAWIDGET_EXPORT_
#else
#define VELAWIDGET_CURL_API VELAWIDGET_IMPORT_
#endif

/// The Qt Quick selector, `velawidget_quick`.
#if defined(VELAWIDGET_BUILDING_QUICK)
#define VELAWIDGET_QUICK_API VELAWIDGET_EXPORT_
#else
#define VELAWIDGET_QUICK_API VELAWIDGET_IMPORT_
#endif
