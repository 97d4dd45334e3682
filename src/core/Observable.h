#pragma once

// Observable values for the view models and the screens: a will-change signal
// per model, published properties that replay their current value, a subject
// without replay, and a throttle on a scheduler. Delivery is synchronous on
// the thread that assigns or sends (the main thread). Handlers may cancel any
// subscription, subscribe, assign or send again while they are being called.

#include <velawidget/platform/Scheduler.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace velawidget {

/// Ends one subscription when cancelled or destroyed. Move-only; a default or
/// moved-from handle ends nothing.
class Cancellable {
  public:
    Cancellable() = default;
    explicit Cancellable(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    Cancellable(Cancellable&& other) noexcept : cancel_(std::exchange(other.cancel_, {})) {}
    Cancellable& operator=(Cancellable&& other) noexcept {
        if (this != &other) {
            cancel();
            cancel_ = std::exchange(other.cancel_, {});
        }
        return *this;
    }
    Cancellable(const Cancellable&) = delete;
    Cancellable& operator=(const Cancellable&) = delete;
    ~Cancellable() { cancel(); }

    void cancel() {
        // Taken out first, so a cancel action that comes back here finds nothing to do.
        if (auto action = std::exchange(cancel_, {})) action();
    }

  private:
    std::function<void()> cancel_;
};

/// The handles a model keeps alive for its whole life.
using SubscriptionSet = std::vector<Cancellable>;

namespace detail {

/// The subscriber list behind every stream. Delivery walks a snapshot, and a
/// cancelled entry is marked dead before it leaves the list: a handler
/// cancelled during a delivery is not called after that, and one that
/// cancels itself stays alive until its own call returns.
template <class T>
class HandlerList {
  public:
    using Handler = std::function<void(const T&)>;

    HandlerList() = default;
    HandlerList(const HandlerList&) = delete;
    HandlerList& operator=(const HandlerList&) = delete;

    Cancellable add(Handler handler) {
        auto entry = std::make_shared<Entry>(Entry{std::move(handler), true});
        entries_->push_back(entry);
        // Weak on both sides: the handle may outlive the stream and the other way round.
        std::weak_ptr<Entries> weakEntries = entries_;
        std::weak_ptr<Entry> weakEntry = entry;
        return Cancellable([weakEntries, weakEntry] {
            auto entry = weakEntry.lock();
            if (!entry) return;
            entry->alive = false;
            if (auto entries = weakEntries.lock()) std::erase(*entries, entry);
        });
    }

    void deliver(const T& value) const {
        if (entries_->empty()) return;
        const auto snapshot = *entries_;
        for (const auto& entry : snapshot) {
            if (entry->alive) entry->handler(value);
        }
    }

  private:
    struct Entry {
        Handler handler;
        bool alive;
    };
    using Entries = std::vector<std::shared_ptr<Entry>>;
    std::shared_ptr<Entries> entries_ = std::make_shared<Entries>();
};

}  // namespace detail

/// The value of an event that carries none.
struct Unit {
    friend bool operator==(Unit, Unit) { return true; }
};

/// A model's will-change signal: raised before any of its published values changes.
class ObservableObject {
  public:
    ObservableObject() = default;
    ObservableObject(const ObservableObject&) = delete;
    ObservableObject& operator=(const ObservableObject&) = delete;

    Cancellable onWillChange(std::function<void()> handler) {
        return willChange_.add([handler = std::move(handler)](const Unit&) { handler(); });
    }
    void sendWillChange() { willChange_.deliver(Unit{}); }

  protected:
    ~ObservableObject() = default;

  private:
    detail::HandlerList<Unit> willChange_;
};

/// A published property. Every assignment, of an equal value too, raises the
/// owner's will-change signal, stores the value and then hands it to every
/// subscriber.
template <class T>
class Published {
  public:
    Published(ObservableObject& owner, T initial)
        : owner_(owner), value_(std::make_shared<const T>(std::move(initial))) {}
    Published(const Published&) = delete;
    Published& operator=(const Published&) = delete;

    const T& value() const { return *value_; }
    operator const T&() const { return *value_; }
    const T* operator->() const { return value_.get(); }

    Published& operator=(T newValue) {
        set(std::move(newValue));
        return *this;
    }

    void set(T newValue) {
        owner_.sendWillChange();
        // Each value lives in a block of its own, so the subscribers still to be
        // called keep a valid value when one of them assigns another.
        auto current = std::make_shared<const T>(std::move(newValue));
        value_ = current;
        subscribers_.deliver(*current);
    }

    /// Calls `handler` with the current value at once, then with every value assigned.
    Cancellable sink(std::function<void(const T&)> handler) {
        const auto current = value_;
        auto subscription = subscribers_.add(handler);
        handler(*current);
        return subscription;
    }

  private:
    ObservableObject& owner_;
    std::shared_ptr<const T> value_;
    detail::HandlerList<T> subscribers_;
};

/// Events for the subscribers present when each is sent; no replay, no failure.
template <class T>
class PassthroughSubject {
  public:
    PassthroughSubject() = default;
    PassthroughSubject(const PassthroughSubject&) = delete;
    PassthroughSubject& operator=(const PassthroughSubject&) = delete;

    void send(const T& value) { subscribers_.deliver(value); }
    Cancellable sink(std::function<void(const T&)> handler) {
        return subscribers_.add(std::move(handler));
    }

  private:
    detail::HandlerList<T> subscribers_;
};

/// A throttled handler: feed values to `input`; `handler` then receives at
/// most one per interval, always from a timer on the scheduler. A value that
/// arrives when the last delivery is at least an interval old leaves as soon
/// as the scheduler runs; otherwise it waits for the end of the interval,
/// and with `latest` the most recent value waiting leaves then (without, the
/// first). The last value always leaves. Destroying or cancelling `timer`
/// stops any pending delivery, after which `input` does nothing.
template <class T>
struct Throttled {
    std::function<void(const T&)> input;
    Cancellable timer;
};

// The handler is moved into the state below; clang-tidy 14 misreads the template.
template <class T>
// NOLINTNEXTLINE(performance-unnecessary-value-param)
Throttled<T> throttle(std::chrono::nanoseconds interval, SchedulerPtr scheduler, bool latest,
                      std::function<void(const T&)> handler) {
    struct State {
        std::chrono::nanoseconds interval{};
        SchedulerPtr scheduler;
        bool latest = true;
        std::function<void(const T&)> handler;
        std::optional<T> waiting;
        std::optional<Scheduler::TimePoint> lastDelivery;
        Scheduler::CancelTimer cancelTimer;
        bool timerPending = false;
        bool cancelled = false;
    };
    auto state = std::make_shared<State>();
    state->interval = interval;
    state->scheduler = std::move(scheduler);
    state->latest = latest;
    state->handler = std::move(handler);

    std::weak_ptr<State> weak = state;
    auto fire = [weak] {
        auto state = weak.lock();
        if (!state || state->cancelled) return;
        state->timerPending = false;
        state->cancelTimer = {};
        auto value = std::exchange(state->waiting, std::nullopt);
        if (!value) return;
        state->lastDelivery = state->scheduler->now();
        // A copy: a handler that cancels the throttle must not destroy itself mid-call.
        auto handler = state->handler;
        if (handler) handler(*value);
    };
    auto input = [weak, fire](const T& value) {
        auto state = weak.lock();
        if (!state || state->cancelled) return;
        if (state->latest || !state->waiting) state->waiting = value;
        if (state->timerPending) return;
        auto delay = std::chrono::nanoseconds::zero();
        if (state->lastDelivery) {
            delay = std::max(delay,
                             std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 *state->lastDelivery + state->interval - state->scheduler->now()));
        }
        state->timerPending = true;
        state->cancelTimer = state->scheduler->scheduleAfter(delay, fire);
    };
    Cancellable timer([state] {
        state->cancelled = true;
        state->waiting.reset();
        if (auto cancelTimer = std::exchange(state->cancelTimer, {})) cancelTimer();
        // The handler may hold its owner; nothing of it outlives the subscription.
        state->handler = {};
    });
    return {std::move(input), std::move(timer)};
}

}  // namespace velawidget
