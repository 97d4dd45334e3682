#pragma once

#include <QtQml/qqmlregistration.h>

#include <QObject>

#include "screens/WidgetViewBridge.h"

class QJSEngine;
class QQmlEngine;

namespace velawidget {

/// The facade's one selector model for hosts written in QML:
/// `WidgetView { model: SharedSelector.model }`, then
/// `SharedSelector.model.prepare(link)`. Every screen, the kit's own windows
/// included, shows the same state.
class SharedSelector : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(velawidget::WidgetViewBridge* model READ model CONSTANT)

  public:
    explicit SharedSelector(QQmlEngine& engine);

    WidgetViewBridge* model() const { return model_; }

    static SharedSelector* create(QQmlEngine* engine, QJSEngine*);

  private:
    WidgetViewBridge* model_;
};

}  // namespace velawidget
