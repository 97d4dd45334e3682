#include "quick/QuickPresenter.h"

#include <velawidget/quick.h>
#include <velawidget/quick/Appearance.h>
#include <velawidget/quick/QtPlatform.h>

#include <QCoreApplication>
#include <QQmlComponent>
#include <QWindow>
#include <optional>
#include <stdexcept>
#include <utility>

#include "platform/qt/QtPlatformDefault.h"
#include "quick/FontWarmUp.h"
#include "quick/QuickSelector.h"
#include "quick/SelectorPresentation.h"
#include "screens/EngineKit.h"
#include "screens/LocaleSwitch.h"
#include "screens/WidgetViewBridge.h"
#include "sdk/Kit.h"

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

std::unique_ptr<SelectorPresenter> makeQuickPresenter(const SelectorServices& services) {
    return std::make_unique<QuickPresenter>(services);
}

// Every kit made from now on draws its selectors with Qt Quick. Names a
// function, not an object: each kit makes its own front end.
const bool registered = [] {
    setSelectorFrontEnd(&makeQuickPresenter);
    return true;
}();

}  // namespace

QuickPresenter::QuickPresenter(SelectorServices services) : services_(std::move(services)) {}

QuickPresenter::~QuickPresenter() {
    delete engine_.data();
}

// One engine serves every selector of the kit: a new engine would set up its
// JavaScript heap and load the compiled views again before each selector's
// first frame. The application owns it, so it goes at exit with the
// application, and a new application gets a new one.
QQmlEngine& QuickPresenter::selectorEngine() {
    if (!engine_) {
        engine_ = new QQmlEngine(QCoreApplication::instance());
        quick::registerQmlModule(*engine_);
        attach(*engine_);
    }
    return *engine_;
}

void QuickPresenter::attach(QQmlEngine& engine) {
    EngineKit::attach(engine, services_, appearance_);
}

QuickPresenter& QuickPresenter::ofSharedKit() {
    auto* front = dynamic_cast<QuickPresenter*>(&sharedKit().presenter());
    if (!front)
        throw std::logic_error("VelaWidget: the facade's selector front end is not Qt Quick");
    return *front;
}

void attachSharedKit(QQmlEngine& engine) {
    QuickPresenter::ofSharedKit().attach(engine);
}

std::unique_ptr<BankSelectorController> QuickPresenter::makeSelector(
    SelectorResultHandler onResult) {
    // A process's first selector reads the font database and the views from
    // scratch. The two go on other threads while this one sets up the
    // engine and the window; a later selector finds both done.
    std::optional<FontWarmUp> fonts;
    if (!engine_) fonts.emplace(firstScreenFonts(appearance_->resolved()));
    QQmlEngine& engine = selectorEngine();
    // The loader thread starts on the views now; the window's own load,
    // which waits, then takes over the document already under way.
    const QQmlComponent views(&engine, QuickSelector::viewUrl(), QQmlComponent::Asynchronous);
    if (fonts) fonts->loadHere();
    auto selector = std::make_unique<QuickSelector>(engine, new WidgetViewBridge(services_.model),
                                                    std::move(onResult));
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

namespace quick {

QQuickWindow* window(const BankSelectorController& selector) {
    const auto* quick = dynamic_cast<const QuickSelector*>(&selector);
    return quick ? quick->window() : nullptr;
}

void setColorScheme(ColorScheme scheme) {
    QuickPresenter::ofSharedKit().appearance().setOverride(scheme);
}

void setAppearance(const Appearance& appearance) {
    QuickPresenter::ofSharedKit().appearance().setAppearance(appearance);
}

Appearance appearance() {
    return QuickPresenter::ofSharedKit().appearance().appearance();
}

bool setLocale(std::string_view name) {
    return switchLocale(*sharedKit().selectorServices().model, name);
}

namespace detail {

bool frontEndLinked() noexcept {
    return registered && qtPlatformIsDefault();
}

}  // namespace detail
}  // namespace quick
}  // namespace velawidget
