#pragma once

#include <QPointer>
#include <QQmlEngine>
#include <memory>

#include "screens/AppearanceState.h"
#include "selection/SelectorPresenter.h"

namespace velawidget {

/// A kit's Qt Quick front end: makes its selector windows on one QML engine,
/// presents them over the host's windows, and holds the kit's appearance.
/// The kit makes it at its first selector call. Main thread only.
class QuickPresenter final : public SelectorPresenter {
  public:
    explicit QuickPresenter(SelectorServices services);
    /// Deletes the selector engine, unless the application already did.
    ~QuickPresenter() override;

    std::unique_ptr<BankSelectorController> makeSelector(SelectorResultHandler onResult) override;
    void present(std::unique_ptr<BankSelectorController> selector, HostWindow parent) override;
    HostWindow firstHostWindow() const override;

    /// Lets `engine`'s screens show this kit.
    void attach(QQmlEngine& engine);
    AppearanceState& appearance() { return *appearance_; }

    /// The front end of the facade's kit (which this makes, as any facade
    /// call does).
    static QuickPresenter& ofSharedKit();

  private:
    QQmlEngine& selectorEngine();

    SelectorServices services_;
    std::shared_ptr<AppearanceState> appearance_ = std::make_shared<AppearanceState>();
    QPointer<QQmlEngine> engine_;
};

}  // namespace velawidget
