#include "platform/qt/QtUrlOpener.h"

#include <QDesktopServices>
#include <QMetaObject>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <utility>

#include "platform/Debug.h"
#include "platform/RefusedSchemes.h"

namespace velawidget::quick {
namespace {

// A lookup that hangs (a broken desktop set-up) counts as "no handler".
constexpr int lookupLimitMs = 5000;

}  // namespace

QtUrlOpener::QtUrlOpener(QString xdgMime) : xdgMime_(std::move(xdgMime)), context_(new QObject) {}

QtUrlOpener::~QtUrlOpener() {
    if (context_->thread() == QThread::currentThread()) {
        delete context_;
    } else {
        context_->deleteLater();
    }
}

QString QtUrlOpener::openableScheme(const std::string& url) {
    const QUrl parsed(QString::fromStdString(url), QUrl::StrictMode);
    if (!parsed.isValid() || parsed.isRelative()) return {};
    // QUrl lower-cases the scheme, so "FILE:" is caught too.
    const QString scheme = parsed.scheme();
    if (scheme.isEmpty() || isRefusedScheme(scheme.toStdString())) return {};
    return scheme;
}

void QtUrlOpener::open(const std::string& url, std::function<void(bool)> completion) {
    // Always answered later, from the event loop, as a launcher would.
    QMetaObject::invokeMethod(
        context_,
        [this, url, completion = std::move(completion)]() mutable {
            lookUpAndLaunch(url, std::move(completion));
        },
        Qt::QueuedConnection);
}

void QtUrlOpener::lookUpAndLaunch(const std::string& url, std::function<void(bool)> completion) {
    const QString scheme = openableScheme(url);
    if (scheme.isEmpty()) {
        debugLine("refusing to open link: " + url);
        completion(false);
        return;
    }
    auto* lookup = new QProcess(context_);
    auto done = std::make_shared<std::function<void(bool)>>(std::move(completion));
    auto answer = [lookup, done](bool opened) {
        if (!*done) return;
        auto completion = std::move(*done);
        *done = nullptr;
        lookup->deleteLater();
        completion(opened);
    };
    QObject::connect(lookup, &QProcess::errorOccurred, context_,
                     [answer](QProcess::ProcessError) { answer(false); });
    QObject::connect(lookup, &QProcess::finished, context_,
                     [lookup, answer, url](int exitCode, QProcess::ExitStatus status) {
                         const QByteArray handler = lookup->readAllStandardOutput().trimmed();
                         if (status != QProcess::NormalExit || exitCode != 0 || handler.isEmpty()) {
                             answer(false);
                             return;
                         }
                         answer(QDesktopServices::openUrl(QUrl(QString::fromStdString(url))));
                     });
    QTimer::singleShot(lookupLimitMs, lookup, [lookup, answer] {
        lookup->kill();
        answer(false);
    });
    lookup->start(xdgMime_, {QStringLiteral("query"), QStringLiteral("default"),
                             QStringLiteral("x-scheme-handler/") + scheme});
}

}  // namespace velawidget::quick
