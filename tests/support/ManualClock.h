#pragma once

#include <velawidget/platform/Scheduler.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace velawidget {

/// A scheduler whose time moves only when `advance` is called, for driving
/// timed behaviour without waiting. Single-threaded: use it from one thread.
class ManualClock final : public Scheduler {
  public:
    TimePoint now() const override { return now_; }
    CancelTimer scheduleAfter(std::chrono::nanoseconds delay,
                              std::function<void()> action) override {
        const Key key{now_ + std::max(delay, std::chrono::nanoseconds::zero()), nextId_++};
        timers_->emplace(key, std::move(action));
        // The cancel action may outlive the clock; it touches only the list it shares.
        return [weak = std::weak_ptr<Timers>(timers_), key] {
            if (auto timers = weak.lock()) timers->erase(key);
        };
    }

    /// Moves time forward by `duration`, firing every timer that falls due on
    /// the way in due order (equal times in scheduling order), each with
    /// `now()` at its due time, timers scheduled on the way included.
    /// Returns how many fired.
    std::size_t advance(std::chrono::nanoseconds duration) {
        const TimePoint target = now_ + std::max(duration, std::chrono::nanoseconds::zero());
        std::size_t fired = 0;
        for (auto next = timers_->begin(); next != timers_->end() && next->first.first <= target;
             next = timers_->begin(), ++fired) {
            now_ = next->first.first;
            auto action = std::move(next->second);
            timers_->erase(next);
            if (action) action();
        }
        now_ = target;
        return fired;
    }

  private:
    using Key = std::pair<TimePoint, std::uint64_t>;
    using Timers = std::map<Key, std::function<void()>>;

    // An arbitrary non-zero start, so that code subtracting an interval from
    // `now()` never lands before the clock's epoch.
    TimePoint now_ = TimePoint{} + std::chrono::hours(1);
    std::uint64_t nextId_ = 0;
    std::shared_ptr<Timers> timers_ = std::make_shared<Timers>();
};

}  // namespace velawidget
