#pragma once

#include <QObject>
#include <QPointer>

class QQuickItem;
class QQuickWindow;

namespace velawidget {

/// Hands the keys a selector window receives while none of its items has
/// the active focus to the item that will have it. A window is told it is
/// active some time after the platform sends it keys (a round trip later on
/// Wayland); keys typed as the window appears would otherwise be dropped.
class EarlyKeys final : public QObject {
  public:
    /// Watches `window` for as long as both live; `screen` is the root of
    /// the content whose focus chain takes the keys.
    EarlyKeys(QQuickWindow& window, QQuickItem& screen);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QQuickWindow> window_;
    QPointer<QQuickItem> screen_;
};

}  // namespace velawidget
