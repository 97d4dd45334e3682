#include "screens/LiveStatus.h"

#include <QtGui/qaccessible.h>

namespace velawidget {

LiveStatus::LiveStatus(QQuickItem* parent) : QQuickItem(parent) {}

void LiveStatus::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    // The name follows first, so a reader that reads the item hears the new text.
    Q_EMIT textChanged();
#if QT_CONFIG(accessibility) && QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    if (text_.isEmpty()) return;
    QAccessibleAnnouncementEvent announcement(this, text_);
    announcement.setPoliteness(QAccessible::AnnouncementPoliteness::Polite);
    QAccessible::updateAccessibility(&announcement);
#endif
}

}  // namespace velawidget
