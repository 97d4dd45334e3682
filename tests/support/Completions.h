#pragma once

#include <velawidget/platform/HttpClient.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vela::test {

/// Every completion of one HTTP client, in arrival order, with the thread it ran on.
struct Completions {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<velawidget::HttpBody> bodies;
    std::vector<std::thread::id> threads;

    std::function<void(velawidget::HttpBody)> recorder() {
        return [this](velawidget::HttpBody body) {
            std::lock_guard lock(mutex);
            bodies.push_back(std::move(body));
            threads.push_back(std::this_thread::get_id());
            changed.notify_all();
        };
    }
    /// Waits until `count` completions arrived; the limit only keeps a broken
    /// client from hanging the suite.
    bool waitFor(std::size_t count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(60),
                                [&] { return bodies.size() >= count; });
    }
};

}  // namespace vela::test
