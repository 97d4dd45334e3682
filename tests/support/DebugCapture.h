#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace vela::test {

/// Collects the kit's debug lines while it lives (installs the process-wide
/// sink, removes it again on destruction). Lines may arrive from any thread.
class DebugCapture {
  public:
    DebugCapture();
    ~DebugCapture();
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;

    std::vector<std::string> lines() const;
    /// Lines that start with `prefix`.
    std::vector<std::string> linesStartingWith(const std::string& prefix) const;
    void clear();

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

}  // namespace vela::test
