#pragma once

#include <velawidget/export.h>

#include <functional>
#include <memory>

namespace velawidget {

/// A queue that runs submitted work later, in submission order.
/// `async` may be called from any thread and never runs the work inline.
class VELAWIDGET_API DispatchQueue {
  public:
    virtual ~DispatchQueue() = default;
    /// Submits `work` to run later on the queue's thread, after the work
    /// submitted before it. Never blocks and never runs `work` inline.
    virtual void async(std::function<void()> work) = 0;
};

using DispatchQueuePtr = std::shared_ptr<DispatchQueue>;

}  // namespace velawidget
