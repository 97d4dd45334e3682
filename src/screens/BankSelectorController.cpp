#include <velawidget/quick.h>

#include <QObject>
#include <QQmlEngine>
#include <QQmlError>
#include <QQuickItem>
#include <QQuickView>
#include <QUrl>
#include <memory>

#include "platform/Debug.h"

namespace velawidget {

struct BankSelectorController::Impl {
    std::unique_ptr<QQuickView> view;
};

BankSelectorController::BankSelectorController() : impl_(std::make_unique<Impl>()) {
    auto view = std::make_unique<QQuickView>();
    quick::registerQmlModule(*view->engine());
    view->setResizeMode(QQuickView::SizeRootObjectToView);
    // The screen's own `WidgetModel` observes the facade's shared widget view model.
    view->setSource(QUrl(QStringLiteral("qrc:/VelaWidget/WidgetView.qml")));
    for (const auto& error : view->errors()) {
        debugLine("bank selector screen failed to load: " + error.toString().toStdString());
    }
    if (auto* root = view->rootObject()) {
        QObject::connect(root, SIGNAL(dismissRequested()), view.get(), SLOT(close()));
        view->resize(static_cast<int>(root->implicitWidth()),
                     static_cast<int>(root->implicitHeight()));
    }
    impl_->view = std::move(view);
}

BankSelectorController::~BankSelectorController() = default;

void BankSelectorController::show() {
    impl_->view->show();
}

void BankSelectorController::close() {
    impl_->view->close();
}

QQuickWindow* BankSelectorController::window() const {
    return impl_->view.get();
}

}  // namespace velawidget
