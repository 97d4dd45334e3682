#include "platform/qt/QtTexts.h"

#include <utility>

#include "core/Debug.h"
#include "platform/qt/HostTranslation.h"

namespace velawidget::quick {
namespace {

// The context every key of the kit's tables is filed under.
constexpr const char* textContext = "VelaWidget";

const QString& tablesDirectory() {
    static const QString directory = QStringLiteral(":/VelaWidget/i18n");
    return directory;
}

QString translated(const QTranslator& translator, const std::string& key) {
    return translator.isEmpty() ? QString() : translator.translate(textContext, key.c_str());
}

}  // namespace

QtTexts::QtTexts(const QLocale& locale, const std::optional<std::filesystem::path>& hostFile)
    : locale_(locale) {
    // English is the last resort for a key the locale's table lacks, and
    // the whole table for a language the kit has none for.
    (void)english_.load(QStringLiteral("velawidget_en"), tablesDirectory());
    if (ours_.load(locale, QStringLiteral("velawidget"), QStringLiteral("_"), tablesDirectory())) {
        language_ = ours_.language();
    } else {
        language_ = english_.language();
    }
    hostFile_ = hostFile;
    if (!hostFile) return;
    auto bytes = readHostTranslation(*hostFile);
    if (!bytes) return;
    hostBytes_ = std::move(*bytes);
    hasHost_ = host_.load(reinterpret_cast<const uchar*>(hostBytes_.constData()),
                          static_cast<int>(hostBytes_.size()));
    if (!hasHost_) {
        debugLine("host translation file is not a compiled translation: " + hostFile->string());
    }
}

QLocale QtTexts::localeNamed(const std::optional<std::string>& name) {
    if (!name) return QLocale();
    const QLocale locale(QString::fromStdString(*name));
    // Qt answers a name it cannot read with the C locale.
    if (locale == QLocale::c() && *name != "C") {
        debugLine("unknown locale, the default one is used: " + *name);
        return QLocale();
    }
    return locale;
}

std::string QtTexts::localized(const std::string& key) const {
    for (const QTranslator* table : {&host_, &ours_, &english_}) {
        const QString text = translated(*table, key);
        if (!text.isEmpty()) return text.toStdString();
    }
    return key;
}

}  // namespace velawidget::quick
