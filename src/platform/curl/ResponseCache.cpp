#include "ResponseCache.h"

namespace velawidget::curl {

std::optional<std::string> ResponseCache::find(const std::string& url) {
    auto found = index_.find(url);
    if (found == index_.end()) return std::nullopt;
    entries_.splice(entries_.begin(), entries_, found->second);
    return found->second->body;
}

void ResponseCache::store(const std::string& url, const std::string& body) {
    // A body that would push out everything else is not worth keeping.
    if (body.size() > capacity_ / 4) return;
    if (auto found = index_.find(url); found != index_.end()) {
        bytes_ -= found->second->body.size();
        entries_.erase(found->second);
        index_.erase(found);
    }
    evictTo(capacity_ - body.size());
    entries_.push_front({url, body});
    index_.emplace(entries_.front().url, entries_.begin());
    bytes_ += body.size();
}

void ResponseCache::evictTo(std::size_t limit) {
    while (bytes_ > limit && !entries_.empty()) {
        bytes_ -= entries_.back().body.size();
        index_.erase(entries_.back().url);
        entries_.pop_back();
    }
}

}  // namespace velawidget::curl
