#pragma once

#include <velawidget/SelectorEvents.h>

#include <memory>

#include "core/Observable.h"
#include "selection/WidgetViewModel.h"

namespace velawidget {

/// The showings of one selector screen. Each showing adds `opened` and
/// `closed` to the model's events and ends in exactly one result, handed to
/// the result handler on the model's queue (never from inside the code that
/// hides the screen, which the handler may well destroy). A showing hidden
/// while the chosen bank's link is still being opened ends when the system
/// answers, so its `closed` is its last event. Main thread only.
class SelectorSession {
  public:
    explicit SelectorSession(std::shared_ptr<WidgetViewModel> model);
    /// Ends a showing still going.
    ~SelectorSession();
    SelectorSession(const SelectorSession&) = delete;
    SelectorSession& operator=(const SelectorSession&) = delete;

    void setResultHandler(SelectorResultHandler handler) { handler_ = std::move(handler); }
    /// The screen came up; nothing when it already is.
    void begin();
    /// The screen went away; nothing when it was not up.
    void end();
    bool showing() const { return showing_; }

  private:
    void observe(const SelectorEvent& event);

    std::shared_ptr<WidgetViewModel> model_;
    SelectorResultHandler handler_;
    bool showing_ = false;
    // A bank was chosen in this showing and the system has not answered yet.
    bool awaitingOpen_ = false;
    SelectorResult result_;
    Cancellable watching_;
};

}  // namespace velawidget
