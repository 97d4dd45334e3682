#include <velawidget/quick.h>

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QQmlError>
#include <QQuickItem>
#include <QQuickView>
#include <QUrl>
#include <memory>

#include "platform/Debug.h"
#include "platform/Texts.h"
#include "screens/ColourCatalogue.h"
#include "screens/ColourScheme.h"

namespace velawidget {
namespace {

// The window clears to the screen's background, so a frame drawn before the
// content is laid out, or a resize, never shows black or white.
void paintBackground(QQuickView& view) {
    const auto& colour = namedColour(QStringLiteral("MainBackground"));
    view.setColor(ColourScheme::instance().dark() ? colour.dark : colour.light);
}

// One engine serves every selector the application opens: a new engine
// would set up its JavaScript heap and load the compiled views again before
// each selector's first frame. The application owns it, so it goes at exit
// with the application, and a new application gets a new one.
QQmlEngine& selectorEngine() {
    static QPointer<QQmlEngine> engine;
    if (!engine) {
        engine = new QQmlEngine(QCoreApplication::instance());
        quick::registerQmlModule(*engine);
    }
    return *engine;
}

}  // namespace

struct BankSelectorController::Impl {
    std::unique_ptr<QQuickView> view;
};

BankSelectorController::BankSelectorController() : impl_(std::make_unique<Impl>()) {
    auto view = std::make_unique<QQuickView>(&selectorEngine(), nullptr);
    view->setTitle(QString::fromStdString(fixedText(FixedText::selectorTitle)));
    paintBackground(*view);
    QObject::connect(&ColourScheme::instance(), &ColourScheme::changed, view.get(),
                     [window = view.get()] { paintBackground(*window); });
    view->setResizeMode(QQuickView::SizeRootObjectToView);
    // The screen's own `WidgetModel` observes the facade's shared widget view
    // model. Loaded before the window is shown, so the first frame has content.
    view->setSource(QUrl(QStringLiteral("qrc:/VelaWidget/WidgetView.qml")));
    for (const auto& error : view->errors()) {
        debugLine("bank selector screen failed to load: " + error.toString().toStdString());
    }
    if (auto* root = view->rootObject()) {
        QObject::connect(root, SIGNAL(dismissRequested()), view.get(), SLOT(close()));
        view->resize(static_cast<int>(root->implicitWidth()),
                     static_cast<int>(root->implicitHeight()));
        // Typing goes to the search field from the moment the window is up,
        // however it was shown (on its own or presented over a parent).
        root->setFocus(true);
        QObject::connect(view.get(), &QWindow::visibleChanged, root,
                         [window = view.get()](bool up) {
                             if (up) window->requestActivate();
                         });
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
