#pragma once

#include <velawidget/platform/TextLookup.h>

#include <QLocale>
#include <QTranslator>
#include <memory>
#include <string>

namespace velawidget::quick {

/// The kit's own translations, compiled into the library under
/// ":/VelaWidget/i18n". The translator is private: it is never installed on
/// the application, so neither the host's translations nor its resources can
/// change what the kit shows, and the kit's cannot change the host's.
class QtTexts final : public TextLookup {
  public:
    /// Picks the best translation for `locale`; English, the source, otherwise.
    explicit QtTexts(const QLocale& locale = QLocale());

    /// The translation of `key`, or the key itself when there is none.
    std::string localized(const std::string& key) const override;

    /// The language whose table was loaded, e.g. "de"; empty for the source texts.
    QString language() const { return language_; }

  private:
    QTranslator translator_;
    QString language_;
};

}  // namespace velawidget::quick
