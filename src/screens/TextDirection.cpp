#include "screens/TextDirection.h"

#include <velawidget/platform.h>

#include <QLocale>

#include "platform/qt/QtTexts.h"

namespace velawidget {

TextDirection::TextDirection(QObject* parent) : QObject(parent) {}

bool TextDirection::rightToLeft() const {
    const auto* texts = dynamic_cast<const quick::QtTexts*>(currentPlatform().texts.get());
    const auto direction = texts ? texts->layoutDirection() : QLocale().textDirection();
    return direction == Qt::RightToLeft;
}

}  // namespace velawidget
