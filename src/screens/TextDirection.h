#pragma once

#include <QtQml/qqmlregistration.h>

#include <QObject>

namespace velawidget {

/// The direction of the kit's language, as QML sees it:
/// `TextDirection.rightToLeft()` holds when the selector's texts are in a
/// right-to-left language, whatever direction the host application runs in.
class TextDirection : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

  public:
    explicit TextDirection(QObject* parent = nullptr);

    /// Asked by each screen as it is made: the language of the Qt platform's
    /// tables, or the default locale's when the host installed texts of its own.
    Q_INVOKABLE bool rightToLeft() const;
};

}  // namespace velawidget
