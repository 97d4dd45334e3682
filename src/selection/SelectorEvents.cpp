#include <velawidget/SelectorEvents.h>

namespace velawidget {

std::string_view toString(SelectorEventKind kind) noexcept {
    switch (kind) {
        case SelectorEventKind::opened:
            return "opened";
        case SelectorEventKind::listShown:
            return "listShown";
        case SelectorEventKind::search:
            return "search";
        case SelectorEventKind::bankChosen:
            return "bankChosen";
        case SelectorEventKind::bankOpened:
            return "bankOpened";
        case SelectorEventKind::appNotFound:
            return "appNotFound";
        case SelectorEventKind::loadFailed:
            return "loadFailed";
        case SelectorEventKind::retry:
            return "retry";
        case SelectorEventKind::qrShown:
            return "qrShown";
        case SelectorEventKind::closed:
            return "closed";
    }
    return "unknown";
}

std::string_view toString(SelectorOutcome outcome) noexcept {
    switch (outcome) {
        case SelectorOutcome::bankOpened:
            return "bankOpened";
        case SelectorOutcome::bankNotOpened:
            return "bankNotOpened";
        case SelectorOutcome::cancelled:
            return "cancelled";
        case SelectorOutcome::loadFailed:
            return "loadFailed";
    }
    return "unknown";
}

}  // namespace velawidget
