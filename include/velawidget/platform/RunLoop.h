#pragma once

#include <velawidget/export.h>
#include <velawidget/platform/DispatchQueue.h>
#include <velawidget/platform/Scheduler.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace velawidget {

/// A main run loop: the thread that calls `run()` or `runUntilIdle()` runs the
/// submitted work and the timers. `async`, `scheduleAfter` and `stop` may be
/// called from any thread. When no platform is installed, the kit's main queue
/// and scheduler are one `RunLoop`; reach it with
/// `std::dynamic_pointer_cast<RunLoop>(currentPlatform().mainQueue)`.
class VELAWIDGET_API RunLoop final : public DispatchQueue, public Scheduler {
  public:
    RunLoop();
    ~RunLoop() override;
    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

    void async(std::function<void()> work) override;
    TimePoint now() const override;
    /// The timer fires on the thread running the loop, timers in order of
    /// their due time (equal times in the order they were scheduled).
    CancelTimer scheduleAfter(std::chrono::nanoseconds delay,
                              std::function<void()> action) override;

    /// Runs work and timers until `stop()`; a `stop()` that came before
    /// `run()` makes it return at once. Work still queued stays queued.
    void run();
    /// Runs everything that is ready now, including work that this work
    /// submits and timers already due, and returns the number of items run.
    /// Never waits for a future timer.
    std::size_t runUntilIdle();
    /// Makes the current (or next) `run()` return after the item in progress.
    void stop();

  private:
    struct Timer {
        std::function<void()> action;
        std::shared_ptr<std::atomic<bool>> cancelled;
    };
    using TimerKey = std::pair<TimePoint, std::uint64_t>;

    /// Takes the next ready item, or nothing; caller holds the lock.
    std::function<void()> takeReady(std::unique_lock<std::mutex>& lock);

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> work_;
    std::map<TimerKey, Timer> timers_;
    std::uint64_t nextTimerId_ = 0;
    bool stopRequested_ = false;
};

}  // namespace velawidget
