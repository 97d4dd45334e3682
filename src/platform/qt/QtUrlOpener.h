#pragma once

#include <velawidget/platform/UrlOpener.h>

#include <QString>
#include <functional>
#include <string>

namespace velawidget::quick {

/// Opens bank links with the application the desktop registered for the
/// link's scheme, and reports success only when that application was really
/// launched: no registered handler, or a launch that failed, is a failure.
/// Links without a scheme and links under a refused scheme (local files,
/// script) are refused without looking anything up, whatever a downloaded
/// bank list says.
class QtUrlOpener final : public UrlOpener {
  public:
    /// Looks up and launches on Qt's thread pool; the lookup reads the
    /// registry from disk and the launch spawns a process, either may block.
    /// The completion runs on the application's (GUI) thread.
    void open(const std::string& url, std::function<void(bool)> completion) override;

    /// The scheme the opener would hand to a handler, or empty when it refuses the link.
    static QString openableScheme(const std::string& url);
};

}  // namespace velawidget::quick
