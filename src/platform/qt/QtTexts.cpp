#include "platform/qt/QtTexts.h"

namespace velawidget::quick {
namespace {

// The context every key of the kit's tables is filed under.
constexpr const char* textContext = "VelaWidget";

}  // namespace

QtTexts::QtTexts(const QLocale& locale) {
    const QString directory = QStringLiteral(":/VelaWidget/i18n");
    // A language the kit has no table for gets the English one.
    if (translator_.load(locale, QStringLiteral("velawidget"), QStringLiteral("_"), directory) ||
        translator_.load(QStringLiteral("velawidget_en"), directory)) {
        language_ = translator_.language();
    }
}

std::string QtTexts::localized(const std::string& key) const {
    const QString text = translator_.translate(textContext, key.c_str());
    if (text.isEmpty()) return key;
    return text.toStdString();
}

}  // namespace velawidget::quick
