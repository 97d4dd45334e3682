#include <gtest/gtest.h>
#include <velawidget/platform/RunLoop.h>
#include <velawidget/platform/SerialQueue.h>

#include <atomic>
#include <future>
#include <numeric>
#include <thread>

namespace velawidget {
namespace {

using namespace std::chrono_literals;

TEST(RunLoop, RunsWorkFromEveryThreadInOrderAndTimersByDueTime) {
    RunLoop loop;
    std::vector<std::string> order;
    // Past due times sort the timers without waiting for the clock; seconds
    // apart, since each due time is taken at its own call.
    loop.scheduleAfter(-1s, [&] { order.push_back("t-1"); });
    auto cancel = loop.scheduleAfter(-2s, [&] { order.push_back("cancelled"); });
    loop.scheduleAfter(-3s, [&] { order.push_back("t-3"); });
    loop.scheduleAfter(1h, [&] { order.push_back("future"); });
    loop.async([&] {
        order.push_back("w1");
        loop.async([&] { order.push_back("w2"); });
    });
    cancel();
    EXPECT_TRUE(order.empty()) << "nothing runs inline";
    EXPECT_EQ(loop.runUntilIdle(), 4u);
    EXPECT_EQ(order, (std::vector<std::string>{"t-3", "t-1", "w1", "w2"}));

    // run() sleeps until work comes from another thread or a timer falls due,
    // loses none of it, and returns on a stop from any thread.
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
    std::vector<int> expected(perThread);
    std::iota(expected.begin(), expected.end(), 0);
    for (const auto& fromOneThread : seen) EXPECT_EQ(fromOneThread, expected);
    bool ranLater = false;
    loop.scheduleAfter(2ms, [&] {
        ranLater = true;
        loop.stop();
    });
    loop.run();
    EXPECT_TRUE(ranLater);
}

// The queue's last owner may be a task on its own worker: it must neither
// join itself nor drop the tasks queued behind.
TEST(SerialQueue, LastReferenceDroppedOnItsOwnWorkerStillFinishesTheBacklog) {
    auto queue = std::make_shared<SerialQueue>();
    auto* raw = queue.get();
    std::promise<void> gate, destroyed, backlog;
    raw->async([opened = gate.get_future().share()] { opened.wait(); });
    raw->async([last = std::move(queue), &destroyed]() mutable {
        last.reset();
        destroyed.set_value();
    });
    raw->async([&backlog] { backlog.set_value(); });
    gate.set_value();
    EXPECT_EQ(destroyed.get_future().wait_for(10s), std::future_status::ready);
    EXPECT_EQ(backlog.get_future().wait_for(10s), std::future_status::ready);
}

}  // namespace
}  // namespace velawidget
