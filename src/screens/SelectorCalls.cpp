#include <velawidget/VelaWidgetError.h>
#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/quick.h>

#include <QObject>
#include <QQuickWindow>
#include <QWindow>
#include <memory>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "platform/qt/QtPlatformDefault.h"
#include "screens/SelectorPresentation.h"
#include "screens/ViewModels.h"
#include "sdk/FacadeAccess.h"

namespace velawidget {
namespace {

/// Keeps a presented selector alive as a child of the window it was
/// presented on, and lets it go once the selector's window is closed.
class PresentedSelector : public QObject {
  public:
    PresentedSelector(std::unique_ptr<BankSelectorController> controller, QObject* parent)
        : QObject(parent), controller_(std::move(controller)) {
        QObject::connect(controller_->window(), &QWindow::visibleChanged, this,
                         [this](bool visible) {
                             if (!visible) deleteLater();
                         });
    }

  private:
    std::unique_ptr<BankSelectorController> controller_;
};

}  // namespace

std::unique_ptr<BankSelectorController> VelaWidgetSDK::bankListViewController(
    std::string_view paymentURL) {
    (void)quick::qtPlatformIsDefault();
    detail::FacadeAccess::prepareWidgetViewModel(*this, paymentURL);
    // The link and its kind are plain fields of the model: screens already
    // showing it re-render from this signal.
    detail::FacadeAccess::widgetViewModel(*this).sendWillChange();
    std::unique_ptr<BankSelectorController> controller(new BankSelectorController());
    quick::markSelectorWindow(*controller->window());
    return controller;
}

std::unique_ptr<BankSelectorController> VelaWidgetSDK::getBankSelector(
    std::string_view bankURLString) {
    return bankListViewController(bankURLString);
}

void VelaWidgetSDK::presentBankListViewController(std::string_view paymentURL,
                                                  QWindow* parentViewController) {
    // A missing parent is the caller's mistake, not a presentation the
    // platform refused; found before the link starts a download.
    if (!parentViewController) {
        throw std::invalid_argument("presentBankListViewController: parent window is null");
    }
    auto controller = bankListViewController(paymentURL);
    auto* window = controller->window();
    new PresentedSelector(std::move(controller), parentViewController);
    quick::presentOver(*window, *parentViewController);
}

void VelaWidgetSDK::showBankSelector(std::string_view bankURLString) {
    // The window comes before the link: without one, even a bad link reports
    // that nothing could be presented. The kit's own selector windows, shown
    // or hidden, are not somewhere to present.
    QWindow* host = quick::firstHostWindow();
    if (!host) throw std::system_error(make_error_code(VelaWidgetError::presentationFailed));
    presentBankListViewController(bankURLString, host);
}

}  // namespace velawidget
