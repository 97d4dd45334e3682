#pragma once

#include <velawidget/platform/TextLookup.h>

#include <QByteArray>
#include <QLocale>
#include <QTranslator>
#include <filesystem>
#include <optional>
#include <string>

namespace velawidget::quick {

/// The kit's own translations, compiled into the library under
/// ":/VelaWidget/i18n", optionally preceded by a host's file. A key is
/// looked up in the host's file, then in the kit's table for the locale,
/// then in the English one; a key none of them has yields itself. The
/// translators are private: they are never installed on the application,
/// so neither the host's installed translations nor its resources can change
/// what the kit shows, and the kit's cannot change the host's.
class QtTexts final : public TextLookup {
  public:
    /// `hostFile` is a compiled translation file (.qm) of the host's with
    /// texts for the kit's keys (context "VelaWidget"). A file that is
    /// missing, unreadable, too large, malformed or naming other files it
    /// depends on leaves only the kit's tables, with a debug line.
    explicit QtTexts(const QLocale& locale = QLocale(),
                     const std::optional<std::filesystem::path>& hostFile = std::nullopt);

    /// The locale for a BCP 47 name such as "ar" or "pt_BR"; the default
    /// locale for none, and (with a debug line) for a name Qt does not know.
    static QLocale localeNamed(const std::optional<std::string>& name);

    std::string localized(const std::string& key) const override;

    /// The language of the kit's table that was loaded for the locale, e.g.
    /// "de"; "en" when the locale has none.
    QString language() const { return language_; }
    /// The direction the selector is laid out in: the locale's.
    Qt::LayoutDirection layoutDirection() const { return locale_.textDirection(); }
    /// Whether the host's file was loaded.
    bool hasHostTexts() const { return hasHost_; }
    /// The host's file as it was given, loaded or not.
    const std::optional<std::filesystem::path>& hostFile() const { return hostFile_; }

  private:
    QLocale locale_;
    std::optional<std::filesystem::path> hostFile_;
    QString language_;
    // The host's translator reads these bytes in place, so they outlive it.
    QByteArray hostBytes_;
    QTranslator host_;
    bool hasHost_ = false;
    QTranslator ours_;
    QTranslator english_;
};

}  // namespace velawidget::quick
