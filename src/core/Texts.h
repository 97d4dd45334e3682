#pragma once

#include <velawidget/platform/TextLookup.h>

#include <array>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace velawidget {

/// The texts whose translation is taken once and then kept.
enum class FixedText : std::size_t {
    emptyText,
    emptyBankListFetchingResult,
    searchPlaceholderText,
    error,
    openUrlError,
    ok,
    selectorTitle,
    bankListName,
    retry,
    payWithPhone,
    scanWithPhone,
    phoneCodeUnavailable,
    back,
    outdatedListNotice,
    invalidPaymentLink,
    searchResultCount,
};

inline constexpr std::size_t fixedTextCount = 16;

/// The localization key of a fixed text, e.g. "LS.VelaWidget.ok".
std::string_view fixedTextKey(FixedText text) noexcept;

/// The text for `key`; the key itself when there is no table.
std::string localizedText(const TextLookup* texts, const std::string& key);

/// The fixed texts of one text table, each looked up on first use and then
/// kept. Safe to read from any thread.
class FixedTexts {
  public:
    explicit FixedTexts(TextLookupPtr texts);
    FixedTexts(const FixedTexts&) = delete;
    FixedTexts& operator=(const FixedTexts&) = delete;

    const std::string& get(FixedText text) const;
    /// The table the texts come from, for texts looked up anew at every use.
    const TextLookup* lookup() const { return texts_.get(); }

  private:
    struct Slot {
        std::once_flag once;
        std::string text;
    };
    TextLookupPtr texts_;
    mutable std::array<Slot, fixedTextCount> slots_;
};

}  // namespace velawidget
