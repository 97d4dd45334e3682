#pragma once

#include <cstddef>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace velawidget::curl {

/// Bodies of "use cache first" answers, bounded by total size, oldest use
/// evicted first. Used only on the client's worker thread.
class ResponseCache {
  public:
    explicit ResponseCache(std::size_t capacityBytes) : capacity_(capacityBytes) {}

    std::optional<std::string> find(const std::string& url);
    void store(const std::string& url, const std::string& body);

  private:
    struct Entry {
        std::string url;
        std::string body;
    };
    void evictTo(std::size_t limit);

    std::size_t capacity_;
    std::size_t bytes_ = 0;
    std::list<Entry> entries_;  ///< most recently used first
    std::unordered_map<std::string_view, std::list<Entry>::iterator> index_;
};

}  // namespace velawidget::curl
