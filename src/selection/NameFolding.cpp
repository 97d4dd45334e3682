#include "selection/NameFolding.h"

#include <unicode/bytestream.h>
#include <unicode/casemap.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <climits>
#include <cstdint>
#include <numeric>

namespace velawidget {
namespace {

icu::StringPiece pieceOf(std::string_view text) {
    return icu::StringPiece(text.data(), static_cast<int32_t>(text.size()));
}

std::vector<std::size_t> everyPosition(std::size_t count) {
    std::vector<std::size_t> all(count);
    std::iota(all.begin(), all.end(), std::size_t{0});
    return all;
}

}  // namespace

std::string foldForSearch(std::string_view utf8) {
    // ICU measures in int32_t; nothing that long is a bank name or a search.
    if (utf8.size() > INT32_MAX) return {};
    std::string lowered;
    lowered.reserve(utf8.size());
    {
        icu::StringByteSink<std::string> sink(&lowered);
        UErrorCode status = U_ZERO_ERROR;
        // The root locale: no Turkish or Lithuanian rules, whatever the user's language.
        icu::CaseMap::utf8ToLower("", 0, pieceOf(utf8), sink, nullptr, status);
        if (U_FAILURE(status)) return {};
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) return {};
    // Lower-casing can leave a sequence decomposed (dotted capital I gains a
    // combining dot), so the result is composed afterwards.
    if (nfc->isNormalizedUTF8(pieceOf(lowered), status) && U_SUCCESS(status)) return lowered;
    status = U_ZERO_ERROR;
    std::string normalized;
    normalized.reserve(lowered.size());
    icu::StringByteSink<std::string> sink(&normalized);
    nfc->normalizeUTF8(0, pieceOf(lowered), sink, nullptr, status);
    if (U_FAILURE(status)) return {};
    return normalized;
}

bool isBlank(std::string_view utf8) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = static_cast<int32_t>(std::min<std::size_t>(utf8.size(), INT32_MAX));
    for (int32_t offset = 0; offset < length;) {
        UChar32 c;
        U8_NEXT(bytes, offset, length, c);
        if (c < 0 || !u_isUWhiteSpace(c)) return false;
    }
    return true;
}

bool containsFolded(std::string_view foldedName, std::string_view foldedQuery) noexcept {
    return foldedName.find(foldedQuery) != std::string_view::npos;
}

FoldedNames::FoldedNames(const std::vector<Bank>& banks) {
    ends_.reserve(banks.size());
    for (const auto& bank : banks) {
        buffer_ += foldForSearch(bank.bankName);
        ends_.push_back(buffer_.size());
    }
}

std::string_view FoldedNames::name(std::size_t index) const noexcept {
    const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(buffer_).substr(begin, ends_[index] - begin);
}

std::vector<std::size_t> FoldedNames::matching(std::string_view text) const {
    if (isBlank(text)) return everyPosition(size());
    const std::string query = foldForSearch(text);
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < size(); ++i) {
        if (containsFolded(name(i), query)) kept.push_back(i);
    }
    return kept;
}

}  // namespace velawidget
