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
};

// Handlers that cancel, subscribe and assign while being called are what the
// selector's screens do; none of it may skip, repeat or crash.
TEST(Observable, HandlersMayCancelSubscribeAndAssignWhileBeingCalled) {
    Model model;
    std::vector<std::string> seen;
    Cancellable first, second, late;
    first = model.count.sink([&](const int& value) {
        seen.push_back("first " + std::to_string(value));
        if (value == 1) {
            first.cancel();   // itself, while running
            second.cancel();  // a later one, before it is reached
            late = model.count.sink([&](const int& v) {
                seen.push_back("late " + std::to_string(v));
                if (v == 1) model.count = 2;  // a nested assignment arrives in full
            });
        }
    });
    second = model.count.sink(
        [&](const int& value) { seen.push_back("second " + std::to_string(value)); });
    seen.clear();
    model.count = 1;
    EXPECT_EQ(seen, (std::vector<std::string>{"first 1", "late 1", "late 2"}));
    EXPECT_EQ(model.count.value(), 2);

    Cancellable survivor;  // a handle outliving its stream ends nothing and does not crash
    {
        Model shortLived;
        survivor = shortLived.count.sink([](const int&) {});
    }
    survivor.cancel();
}

// How often a steady stream leaves is pinned by the search model's typing case.
TEST(Throttle, DeliversFromTheSchedulerAndNothingOnceCancelled) {
    auto clock = std::make_shared<ManualClock>();
    std::vector<std::string> delivered;
    auto latest = throttle<std::string>(
        500ms, clock, true, [&](const std::string& value) { delivered.push_back(value); });
    latest.input("a");
    EXPECT_TRUE(delivered.empty()) << "never inline";
    clock->advance(0ms);
    latest.input("b");
    latest.timer.cancel();
    clock->advance(1s);
    latest.input("c");
    clock->advance(1s);
    EXPECT_EQ(delivered, std::vector<std::string>{"a"});
}

}  // namespace
}  // namespace velawidget
