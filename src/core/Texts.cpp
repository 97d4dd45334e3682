#include "core/Texts.h"

#include <utility>

namespace velawidget {

std::string_view fixedTextKey(FixedText text) noexcept {
    switch (text) {
        case FixedText::emptyText:
            return "LS.VelaWidget.emptyText";
        case FixedText::emptyBankListFetchingResult:
            return "LS.VelaWidget.emptyBankListFetchingResult";
        case FixedText::searchPlaceholderText:
            return "LS.VelaWidget.searchPlaceholderText";
        case FixedText::error:
            return "LS.VelaWidget.error";
        case FixedText::openUrlError:
            return "LS.VelaWidget.openUrlError";
        case FixedText::ok:
            return "LS.VelaWidget.ok";
        case FixedText::selectorTitle:
            return "LS.VelaWidget.selectorTitle";
        case FixedText::bankListName:
            return "LS.VelaWidget.bankListName";
        case FixedText::retry:
            return "LS.VelaWidget.retry";
        case FixedText::payWithPhone:
            return "LS.VelaWidget.payWithPhone";
        case FixedText::scanWithPhone:
            return "LS.VelaWidget.scanWithPhone";
        case FixedText::phoneCodeUnavailable:
            return "LS.VelaWidget.phoneCodeUnavailable";
        case FixedText::back:
            return "LS.VelaWidget.back";
        case FixedText::outdatedListNotice:
            return "LS.VelaWidget.outdatedListNotice";
        case FixedText::invalidPaymentLink:
            return "LS.VelaWidget.invalidPaymentLink";
        case FixedText::searchResultCount:
            return "LS.VelaWidget.searchResultCount";
    }
    return {};
}

std::string localizedText(const TextLookup* texts, const std::string& key) {
    return texts ? texts->localized(key) : key;
}

FixedTexts::FixedTexts(TextLookupPtr texts) : texts_(std::move(texts)) {}

const std::string& FixedTexts::get(FixedText text) const {
    auto& slot = slots_[static_cast<std::size_t>(text)];
    std::call_once(slot.once, [&] {
        slot.text = localizedText(texts_.get(), std::string(fixedTextKey(text)));
    });
    return slot.text;
}

}  // namespace velawidget
