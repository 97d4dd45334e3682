#pragma once

#include <QQmlEngine>
#include <optional>

#include "selection/SelectorPresenter.h"

namespace velawidget {

/// The Qt Quick selector front end: makes selector windows on one shared QML
/// engine and presents them over the host's windows. Registered with the
/// facade while the program starts. Main thread only.
class QuickPresenter final : public SelectorPresenter {
  public:
    std::unique_ptr<BankSelectorController> makeSelector(const SelectorServices& services,
                                                         SelectorResultHandler onResult) override;
    void present(std::unique_ptr<BankSelectorController> selector, HostWindow parent) override;
    HostWindow firstHostWindow() const override;
    void attach(const SelectorServices& services) override;

    /// The facade's services, for screens a QML host builds itself.
    const SelectorServices& services();

    /// The registered front end.
    static QuickPresenter& instance();

  private:
    std::optional<SelectorServices> attached_;
};

/// Gets the logo loader for `engine` going with the front end's client.
void prepareEngine(QQmlEngine& engine, const SelectorServices& services);

}  // namespace velawidget
