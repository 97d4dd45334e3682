#include "selection/SelectorPresenter.h"

#include <atomic>

namespace velawidget {
namespace {

// A function, not an object: written once by a static initialiser of the
// front end's library, read when a kit is made. Function-local, so a
// registration from another library's initialiser finds it made.
std::atomic<SelectorFrontEnd>& frontEndSlot() {
    static std::atomic<SelectorFrontEnd> slot{nullptr};
    return slot;
}

}  // namespace

void setSelectorFrontEnd(SelectorFrontEnd frontEnd) noexcept {
    frontEndSlot().store(frontEnd);
}

SelectorFrontEnd selectorFrontEnd() noexcept {
    return frontEndSlot().load();
}

}  // namespace velawidget
