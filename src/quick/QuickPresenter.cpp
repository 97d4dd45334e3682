#include "quick/QuickPresenter.h"

#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/quick.h>

#include <QCoreApplication>
#include <QPointer>
#include <QWindow>
#include <utility>

#include "platform/qt/QtPlatformDefault.h"
#include "quick/QuickSelector.h"
#include "quick/SelectorPresentation.h"
#include "screens/LogoLoader.h"
#include "screens/WidgetViewBridge.h"

namespace velawidget {
namespace {

/// Keeps a presented selector alive as a child of the window it was
/// presented on, and lets it go once the selector's window is closed.
class PresentedSelector : public QObject {
  public:
    PresentedSelector(std::unique_ptr<BankSelectorController> selector, QWindow& window,
                      QObject* parent)
        : QObject(parent), selector_(std::move(selector)) {
        QObject::connect(&window, &QWindow::visibleChanged, this, [this](bool visible) {
            if (!visible) deleteLater();
        });
    }

  private:
    std::unique_ptr<BankSelectorController> selector_;
};

// One engine serves every selector the application opens: a new engine
// would set up its JavaScript heap and load the compiled views again before
// each selector's first frame. The application owns it, so it goes at exit
// with the application, and a new application gets a new one.
QQmlEngine& selectorEngine(const SelectorServices& services) {
    static QPointer<QQmlEngine> engine;
    if (!engine) {
        engine = new QQmlEngine(QCoreApplication::instance());
        quick::registerQmlModule(*engine);
    }
    prepareEngine(*engine, services);
    return *engine;
}

// The front end is there from the start of the program, so the facade
// finds it whenever its selector calls come. Never destroyed: presented
// selectors may outlive main().
const bool registered = [] {
    installSelectorPresenter(
        std::shared_ptr<QuickPresenter>(std::shared_ptr<void>(), &QuickPresenter::instance()));
    return true;
}();

}  // namespace

QuickPresenter& QuickPresenter::instance() {
    static auto* presenter = new QuickPresenter;
    return *presenter;
}

void prepareEngine(QQmlEngine& engine, const SelectorServices& services) {
    LogoLoader::install(engine, services.http, services.files);
}

std::unique_ptr<BankSelectorController> QuickPresenter::makeSelector(
    const SelectorServices& services, SelectorResultHandler onResult) {
    auto selector = std::make_unique<QuickSelector>(
        selectorEngine(services), new WidgetViewBridge(services.model), std::move(onResult));
    quick::markSelectorWindow(*selector->window());
    return selector;
}

void QuickPresenter::present(std::unique_ptr<BankSelectorController> selector, HostWindow parent) {
    auto* host = static_cast<QWindow*>(parent.get());
    // Every selector this front end is handed was made by it.
    QWindow& window = *static_cast<QuickSelector&>(*selector).window();
    new PresentedSelector(std::move(selector), window, host);
    quick::presentOver(window, *host);
}

HostWindow QuickPresenter::firstHostWindow() const {
    return HostWindow(quick::firstHostWindow());
}

void QuickPresenter::attach(const SelectorServices& services) {
    attached_ = services;
}

const SelectorServices& QuickPresenter::services() {
    // A QML host may build its screen before anything asked the facade for
    // a selector; making the facade hands its services down here.
    if (!attached_) (void)VelaWidgetSDK::shared();
    return *attached_;
}

namespace quick {

QQuickWindow* window(const BankSelectorController& selector) {
    const auto* quick = dynamic_cast<const QuickSelector*>(&selector);
    return quick ? quick->window() : nullptr;
}

namespace detail {

bool frontEndLinked() noexcept {
    return registered && qtPlatformIsDefault();
}

}  // namespace detail
}  // namespace quick
}  // namespace velawidget
