#pragma once

#include <velawidget/platform/UrlOpener.h>

#include <QObject>
#include <QString>
#include <functional>
#include <string>

namespace velawidget::quick {

/// Opens bank links through the desktop's launcher, and reports success only
/// when something can actually take the link: the link's scheme must have a
/// registered handler (`xdg-mime query default x-scheme-handler/SCHEME`) and
/// the launch must have started. Links without a scheme and `file:`, `data:`
/// and `javascript:` links are refused without launching anything, whatever
/// a downloaded bank list says.
class QtUrlOpener final : public UrlOpener {
  public:
    /// `xdgMime` is the lookup program; tests point it elsewhere.
    explicit QtUrlOpener(QString xdgMime = QStringLiteral("xdg-mime"));
    ~QtUrlOpener() override;
    QtUrlOpener(const QtUrlOpener&) = delete;
    QtUrlOpener& operator=(const QtUrlOpener&) = delete;

    /// Completes on the thread the opener was made on (the main thread).
    void open(const std::string& url, std::function<void(bool)> completion) override;

    /// The scheme the opener would hand to a handler, or empty when it refuses the link.
    static QString openableScheme(const std::string& url);

  private:
    void lookUpAndLaunch(const std::string& url, std::function<void(bool)> completion);

    QString xdgMime_;
    QObject* context_;
};

}  // namespace velawidget::quick
