#include "screens/EngineKit.h"

#include <QQmlEngine>
#include <utility>

#include "screens/AppearanceState.h"
#include "screens/LogoLoader.h"

namespace velawidget {

EngineKit::EngineKit(QQmlEngine& engine, SelectorServices services,
                     std::shared_ptr<AppearanceState> appearance)
    : QObject(&engine), services_(std::move(services)), appearance_(std::move(appearance)) {}

EngineKit& EngineKit::attach(QQmlEngine& engine, SelectorServices services,
                             std::shared_ptr<AppearanceState> appearance) {
    if (auto* kit = find(engine)) return *kit;
    LogoLoader::install(engine, services.http, services.files);
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
