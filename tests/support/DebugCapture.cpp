#include "support/DebugCapture.h"

#include <velawidget/platform.h>

namespace vela::test {

DebugCapture::DebugCapture() {
    velawidget::setDebugSink([this](std::string_view line) {
        std::lock_guard lock(mutex_);
        lines_.emplace_back(line);
    });
}

DebugCapture::~DebugCapture() {
    velawidget::setDebugSink(nullptr);
}

std::vector<std::string> DebugCapture::lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

std::vector<std::string> DebugCapture::linesStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (auto& line : lines()) {
        if (line.rfind(prefix, 0) == 0) found.push_back(line);
    }
    return found;
}

void DebugCapture::clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
}

}  // namespace vela::test
