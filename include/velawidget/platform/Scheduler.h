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
    /// The clock of `now()` and of the timers.
    using Clock = std::chrono::steady_clock;
    /// A point on `Clock`.
    using TimePoint = Clock::time_point;

    /// Cancels the timer when called; calling it after the timer fired is harmless.
    using CancelTimer = std::function<void()>;

    virtual ~Scheduler() = default;
    /// The current time of this scheduler (a test clock may stand still).
    virtual TimePoint now() const = 0;
    /// Runs `action` once on the scheduler's thread when `delay` has passed.
    virtual CancelTimer scheduleAfter(std::chrono::nanoseconds delay,
                                      std::function<void()> action) = 0;
};

using SchedulerPtr = std::shared_ptr<Scheduler>;

}  // namespace velawidget
