#include "selection/SelectorSession.h"

#include <utility>

namespace velawidget {

SelectorSession::SelectorSession(std::shared_ptr<WidgetViewModel> model)
    : model_(std::move(model)) {}

SelectorSession::~SelectorSession() {
    end();
}

void SelectorSession::begin() {
    if (showing_) return;
    showing_ = true;
    result_ = SelectorResult{};
    watching_ = model_->events.sink([this](const SelectorEvent& event) { observe(event); });
    model_->events.send(SelectorEvent(SelectorEventKind::opened));
}

void SelectorSession::observe(const SelectorEvent& event) {
    switch (event.kind) {
        case SelectorEventKind::bankOpened:
            result_ = {SelectorOutcome::bankOpened, event.bank, event.webClient};
            break;
        case SelectorEventKind::appNotFound:
            result_ = {SelectorOutcome::bankNotOpened, event.bank, event.webClient};
            break;
        default:
            break;
    }
}

void SelectorSession::end() {
    if (!showing_) return;
    showing_ = false;
    watching_.cancel();
    auto result = std::exchange(result_, SelectorResult{});
    // The list's state at the end decides between these two: a failure that a
    // retry has since mended is no failure.
    if (result.outcome == SelectorOutcome::cancelled &&
        model_->bankListViewModel().loadFailed.value()) {
        result.outcome = SelectorOutcome::loadFailed;
    }
    model_->events.send(SelectorEvent(SelectorEventKind::closed));
    if (!handler_) return;
    model_->mainQueue()->async(
        [handler = handler_, result = std::move(result)] { handler(result); });
}

}  // namespace velawidget
