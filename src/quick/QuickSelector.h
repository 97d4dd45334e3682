#pragma once

#include <velawidget/BankSelectorController.h>
#include <velawidget/SelectorEvents.h>

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

    void show() override;
    void close() override;
    QQuickWindow* window() const { return view_.get(); }

  private:
    std::unique_ptr<QQuickView> view_;
};

}  // namespace velawidget
