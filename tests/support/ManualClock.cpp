#include "support/ManualClock.h"

#include <algorithm>

namespace velawidget {

// An arbitrary non-zero start, so that code subtracting an interval from
// `now()` never lands before the clock's epoch.
ManualClock::ManualClock()
    : now_(TimePoint{} + std::chrono::hours(1)), timers_(std::make_shared<Timers>()) {}

Scheduler::CancelTimer ManualClock::scheduleAfter(std::chrono::nanoseconds delay,
                                                  std::function<void()> action) {
    const Key key{now_ + std::max(delay, std::chrono::nanoseconds::zero()), nextId_++};
    timers_->emplace(key, std::move(action));
    // The cancel action may outlive the clock; it touches only the list it shares.
    std::weak_ptr<Timers> weak = timers_;
    return [weak, key] {
        if (auto timers = weak.lock()) timers->erase(key);
    };
}

std::size_t ManualClock::advance(std::chrono::nanoseconds duration) {
    const TimePoint target = now_ + std::max(duration, std::chrono::nanoseconds::zero());
    std::size_t fired = 0;
    for (;;) {
        const auto next = timers_->begin();
        if (next == timers_->end() || next->first.first > target) break;
        now_ = next->first.first;
        auto action = std::move(next->second);
        timers_->erase(next);
        ++fired;
        if (action) action();
    }
    now_ = target;
    return fired;
}

}  // namespace velawidget
