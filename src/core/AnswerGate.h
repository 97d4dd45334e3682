#pragma once

// The way back from asynchronous work to whoever asked for it. The asker
// keeps the handle; the work passes its answer through the gate. Once the
// handle is released nothing passes any more, and the release itself waits
// for an answer already passing on another thread, so after it returns the
// asker may go: no answer touches it again.

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "core/Observable.h"

namespace velawidget {

class AnswerGate {
  public:
    /// An open gate, shared by the work, and the handle that closes it.
    static std::pair<std::shared_ptr<AnswerGate>, Cancellable> open() {
        auto gate = std::make_shared<AnswerGate>();
        Cancellable handle([weak = std::weak_ptr<AnswerGate>(gate)] {
            if (auto alive = weak.lock()) alive->close();
        });
        return {std::move(gate), std::move(handle)};
    }

    /// Runs `answer` on the calling thread unless the gate is closed; true
    /// when it ran. `answer` must not wait for the thread that closes the
    /// gate (it only hands work on), or the two wait for each other.
    template <class Answer>
    bool pass(Answer&& answer) {
        const auto self = std::this_thread::get_id();
        {
            std::lock_guard lock(mutex_);
            if (closed_) return false;
            passing_.push_back(self);
        }
        struct Leave {
            AnswerGate& gate;
            std::thread::id self;
            ~Leave() {
                std::lock_guard lock(gate.mutex_);
                gate.passing_.erase(std::find(gate.passing_.begin(), gate.passing_.end(), self));
                gate.changed_.notify_all();
            }
        } leave{*this, self};
        std::forward<Answer>(answer)();
        return true;
    }

    /// Nothing passes from now on. Waits for answers passing on other
    /// threads; one passing on this thread (the answer closes its own gate)
    /// goes on to its end.
    void close() {
        const auto self = std::this_thread::get_id();
        std::unique_lock lock(mutex_);
        closed_ = true;
        changed_.wait(lock, [&] {
            return std::all_of(passing_.begin(), passing_.end(),
                               [&](std::thread::id id) { return id == self; });
        });
    }

    bool closed() const {
        std::lock_guard lock(mutex_);
        return closed_;
    }

  private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::thread::id> passing_;
    bool closed_ = false;
};

}  // namespace velawidget
