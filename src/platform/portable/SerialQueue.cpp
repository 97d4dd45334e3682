#include <velawidget/platform/SerialQueue.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>

namespace velawidget {

// Shared with the worker so that a queue destroyed on its own worker can
// leave the thread to drain and exit without touching the freed queue.
struct SerialQueue::State {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> work;
    bool closing = false;
};

SerialQueue::SerialQueue(std::string label)
    : label_(std::move(label)), state_(std::make_shared<State>()) {
    worker_ = std::thread([state = state_] {
        std::unique_lock lock(state->mutex);
        for (;;) {
            state->wake.wait(lock, [&] { return state->closing || !state->work.empty(); });
            if (state->work.empty()) return;  // closing, backlog done
            auto item = std::move(state->work.front());
            state->work.pop_front();
            lock.unlock();
            item();
            item = nullptr;
            lock.lock();
        }
    });
}

SerialQueue::~SerialQueue() {
    {
        std::lock_guard lock(state_->mutex);
        state_->closing = true;
    }
    state_->wake.notify_all();
    if (worker_.get_id() == std::this_thread::get_id()) {
        worker_.detach();
    } else {
        worker_.join();
    }
}

void SerialQueue::async(std::function<void()> work) {
    if (!work) return;
    {
        std::lock_guard lock(state_->mutex);
        state_->work.push_back(std::move(work));
    }
    state_->wake.notify_one();
}

bool SerialQueue::isCurrent() const noexcept {
    return worker_.get_id() == std::this_thread::get_id();
}

}  // namespace velawidget
