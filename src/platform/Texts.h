#pragma once

#include <velawidget/platform/TextLookup.h>

#include <array>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/Schema.h"

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
};

inline constexpr std::size_t fixedTextCount = 13;

/// The localization key of a fixed text, e.g. "LS.VelaWidget.ok".
std::string_view fixedTextKey(FixedText text) noexcept;

/// The text for `key`; the key itself when there is no table.
std::string localizedText(const TextLookup* texts, const std::string& key);
/// The same through the installed platform's table, looked up anew on every call.
std::string localizedText(const std::string& key);

/// The explanation under the logo, looked up at every call:
/// "LS.VelaWidget." + the kind's raw value (nothing when absent) + "DescriptionText".
std::string descriptionText(std::optional<Schema> schema);

/// The fixed texts of one text table, each looked up on first use and then
/// kept. Safe to read from any thread.
class FixedTexts {
  public:
    explicit FixedTexts(TextLookupPtr texts);
    FixedTexts(const FixedTexts&) = delete;
    FixedTexts& operator=(const FixedTexts&) = delete;

    const std::string& get(FixedText text) const;

  private:
    struct Slot {
        std::once_flag once;
        std::string text;
    };
    TextLookupPtr texts_;
    mutable std::array<Slot, fixedTextCount> slots_;
};

/// The fixed texts of the installed platform, kept for the rest of the process.
const FixedTexts& processFixedTexts();
const std::string& fixedText(FixedText text);

/// What a view model reads its fixed texts from: a table of its own, or
/// (when `texts` is null) the process-wide one.
std::shared_ptr<const FixedTexts> fixedTextsFor(TextLookupPtr texts);

}  // namespace velawidget
