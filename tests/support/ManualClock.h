#pragma once

#include <velawidget/platform/Scheduler.h>

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
    ManualClock();

    TimePoint now() const override { return now_; }
    CancelTimer scheduleAfter(std::chrono::nanoseconds delay,
                              std::function<void()> action) override;

    /// Moves time forward by `duration`, firing every timer that falls due on
    /// the way in due order (equal times in scheduling order), each with
    /// `now()` at its due time. Timers that fired actions schedule fire too
    /// when they fall due within the span. Returns how many fired.
    std::size_t advance(std::chrono::nanoseconds duration);

  private:
    using Key = std::pair<TimePoint, std::uint64_t>;
    using Timers = std::map<Key, std::function<void()>>;

    TimePoint now_;
    std::uint64_t nextId_ = 0;
    std::shared_ptr<Timers> timers_;
};

}  // namespace velawidget
