#pragma once

#include <QObject>
#include <memory>

#include "selection/SelectorPresenter.h"

class QQmlEngine;

namespace velawidget {

class AppearanceState;
class LogoLoader;

/// What the screens of one QML engine show: their kit's model, the kit's
/// appearance, and the engine's logo loader (its logos kept across the
/// engine's selectors). Lives as a child of the engine; the screens reach it
/// through the engine they were made in, never through a global. Main
/// thread only.
class EngineKit : public QObject {
    Q_OBJECT

  public:
    /// Gives `engine` this kit (replacing none: an engine shows one kit for
    /// its life) and its logo loader.
    static EngineKit& attach(QQmlEngine& engine, SelectorServices services,
                             std::shared_ptr<AppearanceState> appearance);
    /// The kit attached to `engine`; an engine a QML host made on its own
    /// gets the process's shared kit on first use.
    static EngineKit& of(QQmlEngine& engine);

    const SelectorServices& services() const { return services_; }
    AppearanceState& appearance() const { return *appearance_; }
    LogoLoader& logos() const { return *logos_; }

  private:
    EngineKit(QQmlEngine& engine, SelectorServices services,
              std::shared_ptr<AppearanceState> appearance);
    static EngineKit* find(const QQmlEngine& engine);

    SelectorServices services_;
    std::shared_ptr<AppearanceState> appearance_;
    LogoLoader* logos_;  // a child
};

/// Attaches the process's shared kit to an engine a QML host made: the
/// front end defines it, as the QML host's way to the facade.
void attachSharedKit(QQmlEngine& engine);

}  // namespace velawidget
