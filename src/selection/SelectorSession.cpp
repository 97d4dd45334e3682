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
    // Whatever was typed in an earlier showing is gone, from the field and
    // from the list alike.
    model_->bankListViewModel().clearSearch();
    watching_ = model_->events.sink([this](const SelectorEvent& event) { observe(event); });
    model_->events.send(SelectorEvent(SelectorEventKind::opened));
}

namespace {

// What an answered open makes of a showing's result.
void settle(SelectorResult& result, const SelectorEvent& event) {
    switch (event.kind) {
        case SelectorEventKind::bankOpened:
            result = {SelectorOutcome::bankOpened, event.bank, event.webClient};
            break;
        case SelectorEventKind::appNotFound:
            result = {SelectorOutcome::bankNotOpened, event.bank, event.webClient};
            break;
        default:
            break;
    }
}

// Closes a showing: its last event, then its result on the model's queue.
void finish(WidgetViewModel& model, SelectorResult result, const SelectorResultHandler& handler) {
    model.events.send(SelectorEvent(SelectorEventKind::closed));
    if (!handler) return;
    model.mainQueue()->async([handler, result = std::move(result)] { handler(result); });
}

}  // namespace

void SelectorSession::observe(const SelectorEvent& event) {
    if (event.kind == SelectorEventKind::bankChosen) awaitingOpen_ = true;
    if (event.kind == SelectorEventKind::bankOpened ||
        event.kind == SelectorEventKind::appNotFound) {
        awaitingOpen_ = false;
    }
    settle(result_, event);
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
    if (std::exchange(awaitingOpen_, false) && model_->openPending()) {
        // Closed while the system was still opening the chosen bank's link:
        // the shopper may be paying, so the showing ends with the system's
        // answer, never as cancelled. The model outlives this session.
        model_->afterOpenSettles(
            [model = model_.get(), handler = handler_,
             result = std::move(result)](const std::optional<SelectorEvent>& answer) mutable {
                if (answer) settle(result, *answer);
                finish(*model, std::move(result), handler);
            });
        return;
    }
    finish(*model_, std::move(result), handler_);
}

}  // namespace velawidget
