#pragma once

#include <velawidget/quick/QtPlatform.h>

#include <QObject>

namespace velawidget {

/// The scheme every selector draws in: the host's override, or the
/// application palette's (a window colour darker than mid-grey is dark).
/// One per process, on the main thread.
class ActiveColorScheme : public QObject {
    Q_OBJECT

  public:
    static ActiveColorScheme& instance();

    bool dark() const { return dark_; }
    void setOverride(quick::ColorScheme scheme);

  Q_SIGNALS:
    void changed();

  private:
    ActiveColorScheme();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void update();

    quick::ColorScheme override_ = quick::ColorScheme::system;
    bool dark_ = false;
};

}  // namespace velawidget
