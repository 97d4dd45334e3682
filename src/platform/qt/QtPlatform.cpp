#include <velawidget/platform/PosixFileStore.h>
#include <velawidget/quick/QtPlatform.h>

#include <QStandardPaths>
#include <charconv>
#include <memory>
#include <stdexcept>
#include <utility>

#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtHttpClient.h"
#include "platform/qt/QtTexts.h"
#include "platform/qt/QtUrlOpener.h"

namespace velawidget::quick {
namespace {

std::pair<std::string, std::uint16_t> parseConnectTo(const std::string& target) {
    const auto colon = target.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == target.size()) {
        throw std::invalid_argument("connect-to must be ADDRESS:PORT, got \"" + target + "\"");
    }
    unsigned port = 0;
    const char* first = target.data() + colon + 1;
    const char* last = target.data() + target.size();
    const auto [end, error] = std::from_chars(first, last, port);
    if (error != std::errc{} || end != last || port == 0 || port > 65535) {
        throw std::invalid_argument("connect-to port must be 1 to 65535, got \"" + target + "\"");
    }
    std::string address = target.substr(0, colon);
    // "[::1]:8443" names an IPv6 address; QUrl wants it bare.
    if (address.size() > 2 && address.front() == '[' && address.back() == ']') {
        address = address.substr(1, address.size() - 2);
    }
    return {address, static_cast<std::uint16_t>(port)};
}

std::optional<std::filesystem::path> defaultCachesDirectory() {
    const QString location = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (location.isEmpty()) return std::nullopt;
    return std::filesystem::path(location.toStdString());
}

}  // namespace

Platform qtPlatform(const QtPlatformOptions& options) {
    QtHttpClientOptions http;
    if (options.connectTo) http.connectTo = parseConnectTo(*options.connectTo);
    http.caFile = options.caFile;
    http.maxBodyBytes = options.maxBodyBytes;
    http.overallLimit = options.overallLimit;
    http.timeoutOverride = options.timeoutOverride;
    http.userAgent = options.userAgent;
    const auto caches =
        options.cachesDirectory ? options.cachesDirectory : defaultCachesDirectory();
    // The logos' response cache sits beside the bank-list files, in a folder of its own.
    if (caches) http.cacheDirectory = *caches / "http-cache";

    Platform platform;
    platform.http = std::make_shared<QtHttpClient>(std::move(http));
    platform.files = std::make_shared<PosixFileStore>(caches);
    auto loop = std::make_shared<QtEventLoop>();
    platform.mainQueue = loop;
    platform.scheduler = loop;
    platform.urlOpener = std::make_shared<QtUrlOpener>();
    platform.texts = std::make_shared<QtTexts>();
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
