#pragma once

#include <velawidget/platform/DispatchQueue.h>
#include <velawidget/platform/Scheduler.h>

#include <QObject>
#include <functional>

namespace velawidget::quick {

/// The Qt event loop of the application's main (GUI) thread as the kit's
/// main queue and timer source. Work posted from any thread runs on the
/// application object's thread, in posting order, whichever thread made the
/// loop; without an application object yet, on the thread that made it.
class QtEventLoop final : public DispatchQueue, public Scheduler {
  public:
    QtEventLoop();
    ~QtEventLoop() override;
    QtEventLoop(const QtEventLoop&) = delete;
    QtEventLoop& operator=(const QtEventLoop&) = delete;

    void async(std::function<void()> work) override;
    TimePoint now() const override;
    CancelTimer scheduleAfter(std::chrono::nanoseconds delay,
                              std::function<void()> action) override;

  private:
    // Deleted on its own thread; work posted after it is gone is dropped.
    QObject* context_;
};

}  // namespace velawidget::quick
