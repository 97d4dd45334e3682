#include "platform/qt/QtEventLoop.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <memory>
#include <utility>

namespace velawidget::quick {

QtEventLoop::QtEventLoop() : context_(new QObject) {
    // The platform is made by whichever thread first uses the kit, which may
    // be a host's worker; the queue and the timers still belong to the GUI
    // thread, where the screens and the view models live.
    if (auto* app = QCoreApplication::instance()) context_->moveToThread(app->thread());
}

QtEventLoop::~QtEventLoop() {
    // The platform lives until static destruction, when the application may
    // be gone; deleteLater then never runs, and a plain delete is safe only
    // on the context's own thread.
    if (context_->thread() == QThread::currentThread()) {
        delete context_;
    } else {
        context_->deleteLater();
    }
}

void QtEventLoop::async(std::function<void()> work) {
    QMetaObject::invokeMethod(context_, std::move(work), Qt::QueuedConnection);
}

Scheduler::TimePoint QtEventLoop::now() const {
    return Clock::now();
}

Scheduler::CancelTimer QtEventLoop::scheduleAfter(std::chrono::nanoseconds delay,
                                                  std::function<void()> action) {
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    // Whole milliseconds, rounded up, so a timer never fires early.
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(
        std::max(delay, std::chrono::nanoseconds::zero()));
    auto fire = [cancelled, action = std::move(action)] {
        if (!cancelled->load()) action();
    };
    // Timers belong to the loop's thread: the timer is started there.
    if (context_->thread() == QThread::currentThread()) {
        QTimer::singleShot(ms, Qt::PreciseTimer, context_, std::move(fire));
        return [cancelled] { cancelled->store(true); };
    }
    QMetaObject::invokeMethod(
        context_,
        [context = context_, ms, fire = std::move(fire)]() mutable {
            QTimer::singleShot(ms, Qt::PreciseTimer, context, std::move(fire));
        },
        Qt::QueuedConnection);
    return [cancelled] { cancelled->store(true); };
}

}  // namespace velawidget::quick
