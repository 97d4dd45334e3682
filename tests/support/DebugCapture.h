#pragma once

#include <velawidget/platform.h>

#include <mutex>
#include <string>
#include <vector>

namespace vela::test {

/// Collects the kit's debug lines while it lives (installs the process-wide
/// sink, removes it again on destruction). Lines may arrive from any thread.
class DebugCapture {
  public:
    DebugCapture() {
        velawidget::setDebugSink([this](std::string_view line) {
            std::lock_guard lock(mutex_);
            lines_.emplace_back(line);
        });
    }
    ~DebugCapture() { velawidget::setDebugSink(nullptr); }
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;

    std::vector<std::string> lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }
    std::vector<std::string> linesStartingWith(const std::string& prefix) const {
        std::vector<std::string> found;
        for (auto& line : lines()) {
            if (line.starts_with(prefix)) found.push_back(line);
        }
        return found;
    }
    void clear() {
        std::lock_guard lock(mutex_);
        lines_.clear();
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

}  // namespace vela::test
