#include "screens/EngineKit.h"

#include <QQmlEngine>
#include <utility>

#include "screens/AppearanceState.h"
#include "screens/LogoLoader.h"

namespace velawidget {

EngineKit::EngineKit(QQmlEngine& engine, SelectorServices services,
                     std::shared_ptr<AppearanceState> appearance)
    : QObject(&engine),
      services_(std::move(services)),
      appearance_(std::move(appearance)),
      logos_(new LogoLoader(services_.http, services_.files, {}, this)) {}

EngineKit& EngineKit::attach(QQmlEngine& engine, SelectorServices services,
                             std::shared_ptr<AppearanceState> appearance) {
    if (auto* kit = find(engine)) return *kit;
    return *new EngineKit(engine, std::move(services), std::move(appearance));
}

EngineKit* EngineKit::find(const QQmlEngine& engine) {
    return engine.findChild<EngineKit*>(QString(), Qt::FindDirectChildrenOnly);
}

EngineKit& EngineKit::of(QQmlEngine& engine) {
    if (auto* kit = find(engine)) return *kit;
    attachSharedKit(engine);
    return *find(engine);
}

}  // namespace velawidget
