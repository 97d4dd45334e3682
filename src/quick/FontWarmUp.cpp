#include "quick/FontWarmUp.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QString>
#include <algorithm>
#include <cmath>
#include <system_error>
#include <utility>

#include "screens/ResolvedAppearance.h"

namespace velawidget {
namespace {

void load(const QList<QFont>& fonts) {
    // Shaping a Latin sample loads what the views' text layout asks for;
    // a bare height would only load the engine for common characters.
    for (const QFont& font : fonts) QFontMetricsF(font).horizontalAdvance(QStringLiteral("Ag"));
}

}  // namespace

QList<QFont> firstScreenFonts(const ResolvedAppearance& appearance) {
    QFont base = QGuiApplication::font();
    if (!appearance.fontFamily.isEmpty()) base.setFamily(appearance.fontFamily);
    base.setWeight(QFont::Normal);
    QList<QFont> fonts;
    // Units.bodyText and Units.titleText.
    for (const int size : {14, 18}) {
        QFont font = base;
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(size * appearance.fontScale))));
        fonts.append(font);
    }
    return fonts;
}

FontWarmUp::FontWarmUp(QList<QFont> fonts) : fonts_(std::move(fonts)) {
    // Only a head start: without a thread, the main thread reads it all.
    try {
        reader_ = std::thread([fonts = fonts_] { load(fonts); });
    } catch (const std::system_error&) {
    }
}

FontWarmUp::~FontWarmUp() {
    if (reader_.joinable()) reader_.join();
}

void FontWarmUp::loadHere() const {
    load(fonts_);
}

}  // namespace velawidget
