#pragma once

// What both first-frame programs share: when the process started, and a
// watch on a window that notes the first frame put on screen while a list
// shows its rows, prints the milliseconds since the start and quits.

#include <unistd.h>

#include <QCoreApplication>
#include <QQuickWindow>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

namespace vela::bench {

inline long long monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

/// The launcher's CLOCK_MONOTONIC reading just before it started this
/// process (VELA_LAUNCHED_NS), so the dynamic loader and static set-up count
/// too; without one, the kernel's start time of the process, which is only
/// as fine as the clock tick.
inline long long processStartNanoseconds() {
    if (const char* launched = std::getenv("VELA_LAUNCHED_NS")) return std::atoll(launched);
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Field 22 (starttime, in ticks since boot) counts from after the
    // command name, which may itself hold spaces and parentheses.
    std::size_t at = text.rfind(')');
    for (int field = 2; field < 22 && at != std::string::npos; ++field) at = text.find(' ', at + 1);
    if (at == std::string::npos) return monotonicNanoseconds();
    const long long ticks = std::atoll(text.c_str() + at + 1);
    return ticks * (1'000'000'000LL / sysconf(_SC_CLK_TCK));
}

/// With VELA_FIRST_FRAME_PHASES set, prints "phase NAME MS" (milliseconds
/// since the start) and "phase NAME-cpu MS" (the calling thread's CPU time by
/// then) on standard error, for the breakdown of a launch: the gap between
/// the two is time the main thread spent waiting.
inline void notePhase(const char* name, long long startNs) {
    if (std::getenv("VELA_FIRST_FRAME_PHASES") == nullptr) return;
    timespec cpu{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
    std::fprintf(stderr, "phase %s %.2f\n", name,
                 static_cast<double>(monotonicNanoseconds() - startNs) / 1e6);
    std::fprintf(stderr, "phase %s-cpu %.2f\n", name, cpu.tv_sec * 1e3 + cpu.tv_nsec / 1e6);
}

/// Watches `window`: once `shows()` holds after the scene's items were
/// polished (the frame about to be drawn has them), the next frame put on
/// screen ends the program with "first-frame-ms N" on standard output.
/// `shows` runs on the GUI thread; the swap may come on the render thread.
inline void reportFirstFrame(QQuickWindow& window, std::function<bool()> shows, long long startNs) {
    struct Watch {
        std::atomic<bool> armed{false};
        std::atomic<bool> done{false};
    };
    auto watch = std::make_shared<Watch>();
    QObject::connect(&window, &QQuickWindow::afterAnimating, &window,
                     [watch, shows = std::move(shows), startNs] {
                         if (watch->armed.load()) return;
                         notePhase("frame-polished", startNs);
                         if (shows()) watch->armed.store(true);
                     });
    QObject::connect(
        &window, &QQuickWindow::frameSwapped, &window,
        [watch, startNs] {
            if (!watch->armed.load()) {
                notePhase("frame-without-banks", startNs);
                return;
            }
            if (watch->done.exchange(true)) return;
            const double ms = static_cast<double>(monotonicNanoseconds() - startNs) / 1e6;
            std::printf("first-frame-ms %.2f\n", ms);
            std::fflush(stdout);
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                      Qt::QueuedConnection);
        },
        Qt::DirectConnection);
    // A program that never shows banks fails instead of holding the run up.
    QTimer::singleShot(std::chrono::seconds(30), &window, [watch] {
        if (watch->done.load()) return;
        std::fprintf(stderr, "no frame with banks within 30 s\n");
        std::_Exit(1);
    });
}

}  // namespace vela::bench
