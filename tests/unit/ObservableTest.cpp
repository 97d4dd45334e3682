#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Observable.h"
#include "support/ManualClock.h"

namespace velawidget {
namespace {

using namespace std::chrono_literals;

struct Model : ObservableObject {
    Published<int> count{*this, 0};
    Published<std::string> text{*this, "a"};
};

TEST(Observable, PublishedTellsObserversBeforeEveryAssignmentAndReplaysItsValue) {
    Model model;
    std::vector<std::string> events;
    auto willChange = model.onWillChange(
        [&] { events.push_back("will " + std::to_string(model.count.value())); });
    model.count = 3;
    auto sink = model.count.sink(
        [&](const int& value) { events.push_back("value " + std::to_string(value)); });
    model.count = 3;  // equal values notify too
    model.text = "b";
    model.count.set(4);
    EXPECT_EQ(events, (std::vector<std::string>{"will 0", "value 3", "will 3", "value 3", "will 3",
                                                "will 3", "value 4"}));

    sink.cancel();
    willChange = Cancellable();
    model.count = 5;
    EXPECT_EQ(events.size(), 7u) << "cancelled and released handles end their subscriptions";
    EXPECT_EQ(model.count.value(), 5);
}

TEST(Observable, HandlersMayCancelSubscribeAndAssignWhileBeingCalled) {
    Model model;
    std::vector<std::string> seen;
    Cancellable first, second, late;
    first = model.count.sink([&](const int& value) {
        seen.push_back("first " + std::to_string(value));
        if (value == 1) {
            first.cancel();   // itself, while running
            second.cancel();  // a later one, before it is reached
            late = model.count.sink(
                [&](const int& v) { seen.push_back("late " + std::to_string(v)); });
        }
    });
    second = model.count.sink(
        [&](const int& value) { seen.push_back("second " + std::to_string(value)); });
    seen.clear();
    model.count = 1;
    EXPECT_EQ(seen, (std::vector<std::string>{"first 1", "late 1"}));

    // A handler that assigns again: everyone still called for the earlier value
    // is handed that value intact, then the nested one arrives in full.
    seen.clear();
    Cancellable bumper = model.text.sink([&](const std::string& value) {
        if (value == "x") model.text = "y";
    });
    Cancellable watcher =
        model.text.sink([&](const std::string& value) { seen.push_back("text " + value); });
    seen.clear();
    model.text = "x";
    EXPECT_EQ(seen, (std::vector<std::string>{"text y", "text x"}));
    EXPECT_EQ(model.text.value(), "y");

    // Handles outliving their stream end nothing and do not crash.
    Cancellable survivor;
    {
        Model shortLived;
        survivor = shortLived.count.sink([](const int&) {});
    }
    survivor.cancel();
}

// How often a steady stream leaves, and with which value, is pinned by the
// search model's typing case; here the edges it never reaches.
TEST(Throttle, LeavesFromTheSchedulerAtOnceAfterAQuietSpellAndNothingOnceCancelled) {
    auto clock = std::make_shared<ManualClock>();
    const auto start = clock->now();
    std::vector<std::string> delivered;
    auto latest = throttle<std::string>(500ms, clock, true, [&](const std::string& value) {
        delivered.push_back(value + "@" + std::to_string((clock->now() - start) / 1ms));
    });

    latest.input("a");
    EXPECT_TRUE(delivered.empty()) << "delivery comes from the scheduler, never inline";
    clock->advance(0ms);
    clock->advance(2s);
    latest.input("d");  // long after the last delivery: leaves at once
    clock->advance(0ms);
    EXPECT_EQ(delivered, (std::vector<std::string>{"a@0", "d@2000"}));

    latest.input("e");
    latest.input("f");
    latest.timer.cancel();
    clock->advance(1s);
    latest.input("g");
    clock->advance(1s);
    EXPECT_EQ(delivered.back(), "d@2000") << "cancelled: nothing pending leaves, input is ignored";
}

}  // namespace
}  // namespace velawidget
