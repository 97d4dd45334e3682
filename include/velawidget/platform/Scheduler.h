#pragma once

#include <velawidget/export.h>

#include <chrono>
#include <functional>
#include <memory>

namespace velawidget {

/// Time source and one-shot timers for the search throttle. Timers fire on
/// the scheduler's own (main) thread.
class VELAWIDGET_API Scheduler {
  public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    /// Cancels the timer when called; calling it after the timer fired is harmless.
    using CancelTimer = std::function<void()>;

    virtual ~Scheduler() = default;
    virtual TimePoint now() const = 0;
    virtual CancelTimer scheduleAfter(std::chrono::nanoseconds delay,
                                      std::function<void()> action) = 0;
};

using SchedulerPtr = std::shared_ptr<Scheduler>;

}  // namespace velawidget
