#include "catalogue/GraphemeCount.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <cstdint>
#include <memory>

namespace velawidget {
namespace {

bool isValidUTF8(std::string_view bytes) {
    const auto* s = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const auto length = static_cast<std::int32_t>(bytes.size());
    for (std::int32_t i = 0; i < length;) {
        UChar32 c;
        U8_NEXT(s, i, length, c);  // negative for overlong forms, surrogates and stray bytes
        if (c < 0) return false;
    }
    return true;
}

// Creating an iterator costs microseconds, so each thread keeps one; the kit
// itself may validate links on the main thread and on callback queues alike.
icu::BreakIterator* characterIterator() {
    thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> created(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        if (U_FAILURE(status)) created.reset();
        return created;
    }();
    return iterator.get();
}

}  // namespace

std::optional<std::size_t> graphemeCount(std::string_view utf8, std::size_t limit) {
    if (utf8.size() > static_cast<std::size_t>(INT32_MAX) || !isValidUTF8(utf8)) {
        return std::nullopt;
    }
    if (utf8.empty()) return 0;
    icu::BreakIterator* iterator = characterIterator();
    if (!iterator) return std::nullopt;

    UErrorCode status = U_ZERO_ERROR;
    UText text = UTEXT_INITIALIZER;
    utext_openUTF8(&text, utf8.data(), static_cast<int64_t>(utf8.size()), &status);
    if (U_FAILURE(status)) return std::nullopt;
    iterator->setText(&text, status);
    std::optional<std::size_t> count;
    if (U_SUCCESS(status)) {
        std::size_t clusters = 0;
        iterator->first();
        while (clusters < limit && iterator->next() != icu::BreakIterator::DONE) ++clusters;
        count = clusters;
    }
    // The iterator keeps a shallow clone pointing at the caller's bytes; it is
    // never read again before the next call gives it new text.
    utext_close(&text);
    return count;
}

}  // namespace velawidget
