#pragma once

#include <QFont>
#include <QList>
#include <thread>

namespace velawidget {

struct ResolvedAppearance;

/// The fonts a selector's first screen sets its text in: the views' family
/// at the body and title sizes `Units` gives them, regular weight.
QList<QFont> firstScreenFonts(const ResolvedAppearance& appearance);

/// Readies fonts for a process's first selector. Reading the font
/// configuration and database takes a first process several milliseconds, on
/// whichever thread first sets text. Made before the QML engine, this starts
/// that reading on a thread of its own, beside the engine's set-up on the
/// main thread; `loadHere()` then loads the fonts' engines for the calling
/// thread (each thread keeps its own) while the engine's loader thread reads
/// the views. Joins its thread when dropped.
class FontWarmUp {
  public:
    explicit FontWarmUp(QList<QFont> fonts);
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    /// Loads the fonts for this thread, waiting for the database if the
    /// reader has not finished it.
    void loadHere() const;

  private:
    QList<QFont> fonts_;
    std::thread reader_;
};

}  // namespace velawidget
