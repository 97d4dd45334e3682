#pragma once

#include <velawidget/export.h>

#include <memory>
#include <string>

namespace velawidget {

/// The kit's own localized texts. A key the table lacks yields the key itself.
class VELAWIDGET_API TextLookup {
  public:
    virtual ~TextLookup() = default;
    /// The text for `key` in the user's language; the key itself when the
    /// table has no text for it.
    virtual std::string localized(const std::string& key) const = 0;
};

using TextLookupPtr = std::shared_ptr<TextLookup>;

}  // namespace velawidget
