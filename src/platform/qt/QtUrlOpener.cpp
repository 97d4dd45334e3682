#include "platform/qt/QtUrlOpener.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThreadPool>
#include <QUrl>
#include <utility>

#include "core/Debug.h"
#include "core/RefusedSchemes.h"
#include "platform/qt/SchemeHandlerLaunch.h"

namespace velawidget::quick {
namespace {

// The application object lives on the GUI thread and waits for Qt's thread
// pool before it goes, so an answer posted from a pool task always lands.
void answerOnGuiThread(std::function<void(bool)> completion, bool opened) {
    auto* app = QCoreApplication::instance();
    if (!app) {
        completion(opened);
        return;
    }
    QMetaObject::invokeMethod(
        app, [completion = std::move(completion), opened] { completion(opened); },
        Qt::QueuedConnection);
}

}  // namespace

QString QtUrlOpener::openableScheme(const std::string& url) {
    const QUrl parsed(QString::fromStdString(url), QUrl::StrictMode);
    if (!parsed.isValid() || parsed.isRelative()) return {};
    // QUrl lower-cases the scheme, so "FILE:" is caught too.
    QString scheme = parsed.scheme();
    if (scheme.isEmpty() || isRefusedScheme(scheme.toStdString())) return {};
    return scheme;
}

void QtUrlOpener::open(const std::string& url, std::function<void(bool)> completion) {
    const QString scheme = openableScheme(url);
    if (scheme.isEmpty()) {
        debugLine("refusing to open link: " + url);
        // Answered later all the same, as a launcher would.
        answerOnGuiThread(std::move(completion), false);
        return;
    }
    QThreadPool::globalInstance()->start(
        [url, scheme = scheme.toStdString(), completion = std::move(completion)]() mutable {
            const auto launch = launchSchemeHandler(scheme, url);
            switch (launch.outcome) {
                case SchemeHandlerLaunch::Outcome::launched:
                    debugLine("opened link with " + launch.detail + ": " + url);
                    break;
                case SchemeHandlerLaunch::Outcome::noHandler:
                    debugLine("no application handles the link's scheme: " + url);
                    break;
                case SchemeHandlerLaunch::Outcome::failed:
                    debugLine("launching the link's handler failed, " + launch.detail + ": " + url);
                    break;
            }
            answerOnGuiThread(std::move(completion),
                              launch.outcome == SchemeHandlerLaunch::Outcome::launched);
        });
}

}  // namespace velawidget::quick
