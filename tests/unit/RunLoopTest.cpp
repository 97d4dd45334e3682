#include <gtest/gtest.h>
#include <velawidget/platform/RunLoop.h>
#include <velawidget/platform/SerialQueue.h>

#include <atomic>
#include <future>
#include <thread>

namespace velawidget {
namespace {

using namespace std::chrono_literals;

TEST(RunLoop, RunsWorkInOrderAndTimersByDueTime) {
    RunLoop loop;
    std::vector<std::string> order;
    // Past due times sort the timers without waiting for the clock. They lie
    // seconds apart: each due time is taken at its own call, and a slow run
    // (TSan) spends milliseconds between calls.
    loop.scheduleAfter(-1s, [&] { order.push_back("t-1"); });
    loop.scheduleAfter(-3s, [&] { order.push_back("t-3"); });
    auto cancel = loop.scheduleAfter(-2s, [&] { order.push_back("cancelled"); });
    loop.scheduleAfter(-2s, [&] { order.push_back("t-2"); });
    loop.scheduleAfter(1h, [&] { order.push_back("future"); });
    loop.async([&] {
        order.push_back("w1");
        loop.async([&] { order.push_back("w3"); });
    });
    loop.async([&] { order.push_back("w2"); });
    cancel();
    EXPECT_TRUE(order.empty()) << "nothing runs inline";

    EXPECT_EQ(loop.runUntilIdle(), 6u);
    EXPECT_EQ(order, (std::vector<std::string>{"t-3", "t-2", "t-1", "w1", "w2", "w3"}));
    cancel();  // after the fact: harmless
    EXPECT_EQ(loop.runUntilIdle(), 0u);
}

TEST(RunLoop, RunReturnsOnStopFromAnyThreadAndKeepsPerThreadOrder) {
    RunLoop loop;
    constexpr int threads = 4, perThread = 500;
    std::vector<std::vector<int>> seen(threads);
    std::atomic<int> remaining = threads * perThread;
    std::vector<std::thread> producers;
    for (int t = 0; t < threads; ++t) {
        producers.emplace_back([&, t] {
            for (int i = 0; i < perThread; ++i) {
                loop.async([&, t, i] {
                    seen[t].push_back(i);
                    if (--remaining == 0) std::thread([&] { loop.stop(); }).join();
                });
            }
        });
    }
    loop.run();
    for (auto& p : producers) p.join();
    for (int t = 0; t < threads; ++t) {
        ASSERT_EQ(seen[t].size(), static_cast<std::size_t>(perThread));
        EXPECT_TRUE(std::is_sorted(seen[t].begin(), seen[t].end()));
    }

    loop.stop();
    loop.run();  // a stop that came first makes run return at once
    bool ranLater = false;
    loop.scheduleAfter(2ms, [&] {
        ranLater = true;
        loop.stop();
    });
    loop.run();  // waits for the timer
    EXPECT_TRUE(ranLater);
}

TEST(SerialQueue, RunsOffTheCallerInOrderAndDrainsOnDestruction) {
    std::vector<int> seen;
    std::atomic<bool> offCaller = true;
    const auto caller = std::this_thread::get_id();
    {
        SerialQueue queue("test");
        for (int i = 0; i < 200; ++i) {
            queue.async([&, i] {
                if (std::this_thread::get_id() == caller) offCaller = false;
                seen.push_back(i);
            });
        }
    }
    ASSERT_EQ(seen.size(), 200u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_TRUE(offCaller);
}

TEST(SerialQueue, LastReferenceDroppedOnItsOwnWorkerStillFinishesTheBacklog) {
    auto queue = std::make_shared<SerialQueue>();
    auto* raw = queue.get();
    std::promise<void> gate, destroyed, backlog;
    raw->async([opened = gate.get_future().share()] { opened.wait(); });
    raw->async([last = std::move(queue), &destroyed]() mutable {
        last.reset();
        destroyed.set_value();
    });
    raw->async([&backlog] { backlog.set_value(); });  // queued before the queue went away
    gate.set_value();
    EXPECT_EQ(destroyed.get_future().wait_for(10s), std::future_status::ready);
    EXPECT_EQ(backlog.get_future().wait_for(10s), std::future_status::ready);
}

}  // namespace
}  // namespace velawidget
