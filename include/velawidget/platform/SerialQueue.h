#pragma once

#include <velawidget/export.h>
#include <velawidget/platform/DispatchQueue.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace velawidget {

/// A background queue with one worker thread of its own, for hosts and tests
/// that want the data-only query's completion off the main thread. Work runs
/// in submission order, one item at a time.
///
/// Destruction runs the work already submitted (and whatever that work
/// submits), then joins the worker. Destroyed from its own worker (the last
/// reference dropped inside a work item), it lets the worker finish the
/// backlog and exit on its own.
class VELAWIDGET_API SerialQueue final : public DispatchQueue {
  public:
    /// Starts the worker thread; `label` names the queue in debuggers.
    explicit SerialQueue(std::string label = {});
    ~SerialQueue() override;
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    void async(std::function<void()> work) override;

    /// The label given at construction.
    const std::string& label() const noexcept { return label_; }
    /// True on the worker thread of this queue.
    bool isCurrent() const noexcept;

  private:
    struct State;
    std::string label_;
    std::shared_ptr<State> state_;
    std::thread worker_;
};

}  // namespace velawidget
