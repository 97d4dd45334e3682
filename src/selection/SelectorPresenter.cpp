#include "selection/SelectorPresenter.h"

#include <mutex>
#include <utility>

namespace velawidget {
namespace {

// Written while the program starts (by a static initialiser of the front
// end's library), read by the facade's selector calls. Function-local, so a
// registration from another library's initialiser finds it made.
struct PresenterSlot {
    std::mutex mutex;
    std::shared_ptr<SelectorPresenter> presenter;
};

PresenterSlot& presenterSlot() {
    static PresenterSlot slot;
    return slot;
}

}  // namespace

void installSelectorPresenter(std::shared_ptr<SelectorPresenter> presenter) {
    auto& slot = presenterSlot();
    std::lock_guard lock(slot.mutex);
    slot.presenter = std::move(presenter);
}

std::shared_ptr<SelectorPresenter> selectorPresenter() {
    auto& slot = presenterSlot();
    std::lock_guard lock(slot.mutex);
    return slot.presenter;
}

}  // namespace velawidget
