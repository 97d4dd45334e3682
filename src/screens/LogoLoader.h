#pragma once

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
#include <memory>
#include <utility>

#include "screens/LogoDecoder.h"

class QQmlEngine;

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

/// Fetches bank logos (the HTTP client's response cache first), decodes them
/// within their limits on a thread of its own, and keeps the latest decoded
/// ones by address. One fetch per address at a time, however many tiles ask.
/// Lives on the main thread; `loaded` is emitted there.
class LogoLoader : public QObject {
    Q_OBJECT

  public:
    explicit LogoLoader(HttpClientPtr http, const LogoLoaderSettings& settings = {},
                        QObject* parent = nullptr);
    ~LogoLoader() override;

    /// The decoded logo at `url` when it is kept; a null image otherwise.
    QImage kept(const QString& url);
    /// Starts loading `url` unless it is kept, loading or waiting already.
    void load(const QString& url);
    /// Whether a logo is still waiting, being fetched or being decoded.
    bool busy() const { return !pending_.isEmpty(); }

    /// The loader the screens of `engine` share; none until one was installed.
    static LogoLoader* forEngine(QQmlEngine* engine);
    /// Gives `engine` its loader, fetching through `http`, unless it has one.
    static LogoLoader& install(QQmlEngine& engine, HttpClientPtr http);

  Q_SIGNALS:
    /// The outcome for `url`: the logo, or a null image when it failed.
    void loaded(const QString& url, const QImage& image);

  private:
    struct Link;
    void startWaiting();
    void fetch(const QString& url);
    void finished(const QString& url, const QImage& image);
    void keep(const QString& url, const QImage& image);

    HttpClientPtr http_;
    LogoLoaderSettings settings_;
    std::shared_ptr<Link> link_;
    QThreadPool decoders_;
    std::deque<QString> waiting_;
    QSet<QString> pending_;  // waiting or in flight
    int fetching_ = 0;
    std::list<std::pair<QString, QImage>> kept_;  // most recently used first
    QHash<QString, std::list<std::pair<QString, QImage>>::iterator> index_;
};

}  // namespace velawidget
