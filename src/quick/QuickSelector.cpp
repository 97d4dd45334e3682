#include "quick/QuickSelector.h"

#include <QMetaMethod>
#include <QObject>
#include <QQmlError>
#include <QQuickItem>
#include <QUrl>
#include <QVariantMap>

#include "core/Debug.h"
#include "quick/EarlyKeys.h"
#include "quick/SelectorPresentation.h"
#include "screens/AppearanceState.h"
#include "screens/EngineKit.h"
#include "screens/WidgetViewBridge.h"

namespace velawidget {
namespace {

// The window clears to the screen's background, so a frame drawn before the
// content is laid out, or a resize, never shows black or white.
void paintBackground(QQuickView& view, const AppearanceState& appearance) {
    view.setColor(appearance.resolved().color(QStringLiteral("MainBackground")));
}

}  // namespace

QuickSelector::QuickSelector(QQmlEngine& engine, WidgetViewBridge* model,
                             SelectorResultHandler onResult)
    : view_(new QQuickView(&engine, nullptr)) {
    QQuickView& view = *view_;
    model->setParent(&view);
    model->setResultHandler(std::move(onResult));
    view.setTitle(model->selectorTitle());
    QObject::connect(model, &WidgetViewBridge::textsChanged, &view,
                     [window = &view, model] { window->setTitle(model->selectorTitle()); });
    const AppearanceState& appearance = EngineKit::of(engine).appearance();
    paintBackground(view, appearance);
    QObject::connect(&appearance, &AppearanceState::changed, &view,
                     [window = &view, &appearance] { paintBackground(*window, appearance); });
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    // The model is there before the view is built and the window shown, so
    // the first frame has content.
    view.setInitialProperties({{QStringLiteral("model"), QVariant::fromValue(model)}});
    view.setSource(viewUrl());
    for (const auto& error : view.errors()) {
        debugLine("bank selector screen failed to load: " + error.toString().toStdString());
    }
    if (auto* root = view.rootObject()) {
        // The screen asks to close on Escape and once a bank's app was opened.
        const QMetaObject& screen = *root->metaObject();
        QObject::connect(root, screen.method(screen.indexOfSignal("dismissRequested()")), &view,
                         QQuickView::staticMetaObject.method(
                             QQuickView::staticMetaObject.indexOfSlot("close()")));
        view.resize(static_cast<int>(root->implicitWidth()),
                    static_cast<int>(root->implicitHeight()));
        // Typing goes to the search field from the moment the window is up,
        // however it was shown (on its own or presented over a parent).
        root->setFocus(true);
        new EarlyKeys(view, *root);
        QObject::connect(&view, &QWindow::visibleChanged, root, [window = &view](bool up) {
            if (up) window->requestActivate();
        });
    }
}

QUrl QuickSelector::viewUrl() {
    return QUrl(QStringLiteral("qrc:/VelaWidget/WidgetView.qml"));
}

QuickSelector::~QuickSelector() {
    delete view_.data();
}

void QuickSelector::show() {
    if (!view_) return;
    quick::fitToScreen(*view_);
    view_->show();
}

void QuickSelector::close() {
    if (view_) view_->close();
}

}  // namespace velawidget
