#pragma once

#include <velawidget/platform/UrlOpener.h>

namespace velawidget {

/// The opener in force when none is installed: no application takes any link.
class RefusingUrlOpener final : public UrlOpener {
  public:
    void open(const std::string& url, std::function<void(bool)> completion) override;
};

}  // namespace velawidget
