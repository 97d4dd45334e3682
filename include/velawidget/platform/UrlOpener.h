#pragma once

#include <velawidget/export.h>

#include <functional>
#include <memory>
#include <string>

namespace velawidget {

/// Hands a link to another application. The completion runs once, on any
/// thread, with whether some application accepted the link.
class VELAWIDGET_API UrlOpener {
  public:
    virtual ~UrlOpener() = default;
    /// Asks the system to open `url`; `completion(true)` only when an
    /// application accepted it. Returns at once.
    virtual void open(const std::string& url, std::function<void(bool)> completion) = 0;
};

using UrlOpenerPtr = std::shared_ptr<UrlOpener>;

}  // namespace velawidget
