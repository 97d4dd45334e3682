#pragma once

#include <velawidget/BankSelectorController.h>
#include <velawidget/SelectorEvents.h>

#include <QPointer>
#include <QQuickView>
#include <memory>

namespace velawidget {

class WidgetViewBridge;

/// The Qt Quick selector: `WidgetView` in a window of its own, showing the
/// model of the bridge it is given.
class QuickSelector final : public BankSelectorController {
  public:
    /// `model` becomes the view's (and the window's) child; `onResult` hears
    /// how each showing of the window ended.
    QuickSelector(QQmlEngine& engine, WidgetViewBridge* model, SelectorResultHandler onResult);

    /// Deletes the window unless someone else already did.
    ~QuickSelector() override;
    QuickSelector(const QuickSelector&) = delete;
    QuickSelector& operator=(const QuickSelector&) = delete;

    /// The document every selector window shows.
    static QUrl viewUrl();

    void show() override;
    void close() override;
    /// Null once the window was deleted elsewhere (a widget container that
    /// took it over and went first).
    QQuickWindow* window() const { return view_.data(); }

  private:
    // Watched rather than owned outright: `QWidget::createWindowContainer`
    // takes the window over and deletes it with the container.
    QPointer<QQuickView> view_;
};

}  // namespace velawidget
