#include <velawidget/platform/RunLoop.h>

#include <utility>

namespace velawidget {

RunLoop::RunLoop() = default;
RunLoop::~RunLoop() = default;

void RunLoop::async(std::function<void()> work) {
    if (!work) return;
    {
        std::lock_guard lock(mutex_);
        work_.push_back(std::move(work));
    }
    wake_.notify_all();
}

Scheduler::TimePoint RunLoop::now() const {
    return Clock::now();
}

Scheduler::CancelTimer RunLoop::scheduleAfter(std::chrono::nanoseconds delay,
                                              std::function<void()> action) {
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    if (!action) return [] {};
    const TimePoint due = now() + std::chrono::duration_cast<Clock::duration>(delay);
    {
        std::lock_guard lock(mutex_);
        timers_.emplace(TimerKey{due, nextTimerId_++}, Timer{std::move(action), cancelled});
    }
    wake_.notify_all();
    // The handle holds only the flag, so it stays harmless after the loop is gone.
    return [cancelled] { cancelled->store(true); };
}

std::function<void()> RunLoop::takeReady(std::unique_lock<std::mutex>&) {
    // A due timer goes before queued work, so a stream of work cannot starve
    // the timers; each call hands out a single item.
    const TimePoint current = now();
    while (!timers_.empty() && timers_.begin()->first.first <= current) {
        auto node = timers_.extract(timers_.begin());
        if (!node.mapped().cancelled->load()) return std::move(node.mapped().action);
    }
    if (!work_.empty()) {
        auto work = std::move(work_.front());
        work_.pop_front();
        return work;
    }
    return {};
}

void RunLoop::run() {
    std::unique_lock lock(mutex_);
    while (!stopRequested_) {
        if (auto item = takeReady(lock)) {
            lock.unlock();
            item();
            item = nullptr;  // release captures outside the lock
            lock.lock();
            continue;
        }
        if (timers_.empty()) {
            wake_.wait(lock);
        } else {
            wake_.wait_until(lock, timers_.begin()->first.first);
        }
    }
    stopRequested_ = false;
}

std::size_t RunLoop::runUntilIdle() {
    std::size_t ran = 0;
    std::unique_lock lock(mutex_);
    while (auto item = takeReady(lock)) {
        lock.unlock();
        item();
        item = nullptr;
        ++ran;
        lock.lock();
    }
    return ran;
}

void RunLoop::stop() {
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    wake_.notify_all();
}

}  // namespace velawidget
