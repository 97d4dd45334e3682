#include "quick/SharedSelector.h"

#include <QQmlEngine>

#include "quick/QuickPresenter.h"

namespace velawidget {

SharedSelector::SharedSelector(QQmlEngine& engine) {
    const auto& services = QuickPresenter::instance().services();
    prepareEngine(engine, services);
    model_ = new WidgetViewBridge(services.model, this);
}

SharedSelector* SharedSelector::create(QQmlEngine* engine, QJSEngine*) {
    return new SharedSelector(*engine);
}

}  // namespace velawidget
