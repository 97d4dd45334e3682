#pragma once

#include <velawidget/platform/FileStore.h>
#include <velawidget/platform/HttpClient.h>

#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThreadPool>
#include <chrono>
#include <deque>
#include <list>
#include <map>
#include <memory>
#include <utility>

#include "core/Observable.h"
#include "platform/ResponseCache.h"
#include "screens/LogoDecoder.h"

namespace velawidget {

struct LogoLoaderSettings {
    /// Logos fetched at once; the rest wait their turn, so logos never hold
    /// every connection to a host.
    int maxFetches = 4;
    /// Decoded logos kept in memory, most recently used first, so a row that
    /// comes back paints its logo at once.
    int maxKept = 64;
    std::chrono::milliseconds timeout{std::chrono::seconds(60)};
    LogoLimits limits;
};

/// Fetches bank logos through the kit's response cache (its file first, in
/// the caches directory of `files`), decodes them within their limits, and
/// keeps the latest decoded ones by address. One fetch per address at a
/// time, however many tiles ask.
///
/// Threads: the loader lives on the main thread, and `loaded` is emitted
/// there. It owns one thread of its own, which reads and writes the cache's
/// files and decodes; fetch completions arrive there or on the HTTP client's
/// queue and only hand the bytes on to it. Each fetch is held by its
/// handle: the destructor releases them (waiting for a completion under
/// way), drops the work still queued on its thread and waits for the piece
/// under way, so nothing reaches a loader that is gone.
class LogoLoader : public QObject {
    Q_OBJECT

  public:
    explicit LogoLoader(HttpClientPtr http, FileStorePtr files,
                        const LogoLoaderSettings& settings = {}, QObject* parent = nullptr);
    ~LogoLoader() override;

    /// The decoded logo at `url` when it is kept; a null image otherwise.
    QImage kept(const QString& url);
    /// Starts loading `url` unless it is kept, loading or waiting already.
    void load(const QString& url);
    /// Whether a logo is still waiting, being fetched or being decoded.
    bool busy() const { return !pending_.isEmpty(); }

  Q_SIGNALS:
    /// The outcome for `url`: the logo, or a null image when it failed.
    void loaded(const QString& url, const QImage& image);

  private:
    void startWaiting();
    void fetch(const QString& url);
    void finished(const QString& url, const QImage& image);
    void keep(const QString& url, const QImage& image);

    HttpClientPtr http_;
    LogoLoaderSettings settings_;
    /// One thread: the cache's file work and the decodes, in their order.
    QThreadPool worker_;
    ResponseCache cache_;
    std::map<QString, Cancellable> fetches_;  // in flight, by address
    std::deque<QString> waiting_;
    QSet<QString> pending_;  // waiting or in flight
    int fetching_ = 0;
    std::list<std::pair<QString, QImage>> kept_;  // most recently used first
    QHash<QString, std::list<std::pair<QString, QImage>>::iterator> index_;
};

}  // namespace velawidget
