#pragma once

#include <velawidget/export.h>
#include <velawidget/platform/DispatchQueue.h>
#include <velawidget/platform/FileStore.h>
#include <velawidget/platform/HttpClient.h>
#include <velawidget/platform/Scheduler.h>
#include <velawidget/platform/TextLookup.h>
#include <velawidget/platform/UrlOpener.h>

#include <functional>
#include <string_view>

namespace velawidget {

/// Everything the kit needs from the operating system. Members left empty are
/// filled with the kit's portable defaults when the platform is installed.
struct Platform {
    /// default: a `curl::CurlHttpClient` when the program links `VelaWidget::curl`,
    /// else a client that requests nothing (every download fails, `noHttpClient`)
    HttpClientPtr http{};
    FileStorePtr files{};          ///< default: POSIX caches directory of the program
    DispatchQueuePtr mainQueue{};  ///< default: the portable main run loop
    SchedulerPtr scheduler{};      ///< default: timers on the portable main run loop
    UrlOpenerPtr urlOpener{};      ///< default: refuses every link
    TextLookupPtr texts{};         ///< default: every key yields itself
};

/// Installs the platform. Call once, before the first use of
/// `VelaWidgetSDK::shared()`; returns false (and changes nothing) afterwards.
VELAWIDGET_API bool installPlatform(Platform platform);

/// The platform in force; the first call fixes it (defaults if none was installed).
VELAWIDGET_API const Platform& currentPlatform();

/// A front end (the Qt module, the command-line tools) registers the platform
/// it wants when the host installed none. Returns false once the platform is fixed.
VELAWIDGET_API bool setDefaultPlatformFactory(Platform (*factory)());

/// Receives the kit's debug lines. Without a sink they are discarded.
/// The sink may be called from any thread.
VELAWIDGET_API void setDebugSink(std::function<void(std::string_view)> sink);

}  // namespace velawidget
