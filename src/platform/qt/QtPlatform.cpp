#include <velawidget/platform/PosixFileStore.h>
#include <velawidget/quick/QtPlatform.h>

#include <QStandardPaths>
#include <memory>
#include <stdexcept>
#include <utility>

#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtHttpClient.h"
#include "platform/qt/QtTexts.h"
#include "platform/qt/QtUrlOpener.h"

namespace velawidget::quick {
namespace {

std::optional<std::filesystem::path> defaultCachesDirectory() {
    const QString location = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (location.isEmpty()) return std::nullopt;
    return std::filesystem::path(location.toStdString());
}

}  // namespace

Platform qtPlatform(const QtPlatformOptions& options) {
    QtHttpClientOptions http;
    static_cast<HttpClientOptions&>(http) = options;
    const auto caches =
        options.cachesDirectory ? options.cachesDirectory : defaultCachesDirectory();

    Platform platform;
    platform.http = std::make_shared<QtHttpClient>(std::move(http));
    platform.files = std::make_shared<PosixFileStore>(caches);
    auto loop = std::make_shared<QtEventLoop>();
    platform.mainQueue = loop;
    platform.scheduler = loop;
    platform.urlOpener = std::make_shared<QtUrlOpener>();
    platform.texts =
        std::make_shared<QtTexts>(QtTexts::localeNamed(options.locale), options.translationFile);
    return platform;
}

namespace {

Platform defaultQtPlatform() {
    return qtPlatform();
}

// Every program that uses the selector gets the Qt platform unless it
// installed one of its own before the kit's first use.
const bool registeredAsDefault = setDefaultPlatformFactory(&defaultQtPlatform);

}  // namespace

bool qtPlatformIsDefault() {
    return registeredAsDefault;
}

}  // namespace velawidget::quick
