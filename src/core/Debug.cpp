#include "core/Debug.h"

#include <velawidget/platform.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

namespace velawidget {
namespace {

using Sink = std::function<void(std::string_view)>;

// Swapped atomically so a host may install a sink while downloads are running.
std::atomic<std::shared_ptr<const Sink>>& sinkSlot() {
    static std::atomic<std::shared_ptr<const Sink>> slot;
    return slot;
}

}  // namespace

void setDebugSink(std::function<void(std::string_view)> sink) {
    sinkSlot().store(sink ? std::make_shared<const Sink>(std::move(sink)) : nullptr);
}

void debugLine(std::string_view text) {
    if (auto sink = sinkSlot().load()) (*sink)(text);
}

}  // namespace velawidget
