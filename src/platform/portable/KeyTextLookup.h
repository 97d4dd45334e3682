#pragma once

#include <velawidget/platform/TextLookup.h>

namespace velawidget {

/// The text table in force when none is installed: every key stands for itself.
class KeyTextLookup final : public TextLookup {
  public:
    std::string localized(const std::string& key) const override { return key; }
};

}  // namespace velawidget
