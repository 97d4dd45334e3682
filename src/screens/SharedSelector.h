#pragma once

#include <QtQml/qqmlregistration.h>
#include <velawidget/quick/QtPlatform.h>

#include <QObject>
#include <QString>

#include "screens/WidgetViewBridge.h"

class QJSEngine;
class QQmlEngine;

namespace velawidget {

class EngineKit;

/// The engine's kit's one selector model for hosts written in QML (the
/// facade's, in an engine the host made): `WidgetView { model:
/// SharedSelector.model }`, then `SharedSelector.model.prepare(link)`. Every
/// screen of that kit, its own windows included, shows the same state. Also
/// the settings a QML host changes at run time: the texts' language and the
/// colour scheme.
class SharedSelector : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(velawidget::WidgetViewBridge* model READ model CONSTANT FINAL)
    /// "system", "light" or "dark", as `quick::setColorScheme`.
    Q_PROPERTY(
        QString colorScheme READ colorScheme WRITE setColorScheme NOTIFY colorSchemeChanged FINAL)

  public:
    explicit SharedSelector(QQmlEngine& engine);

    WidgetViewBridge* model() const { return model_; }

    QString colorScheme() const;
    /// Any other text is refused with a warning, the scheme unchanged.
    void setColorScheme(const QString& scheme);

    /// `quick::setLocale` for QML: false, changing nothing, when the host
    /// installed texts of its own.
    Q_INVOKABLE bool setLocale(const QString& name);

    static SharedSelector* create(QQmlEngine* engine, QJSEngine*);

  Q_SIGNALS:
    void colorSchemeChanged();

  private:
    void noteScheme();

    EngineKit& kit_;
    WidgetViewBridge* model_;
    quick::ColorScheme scheme_;
};

}  // namespace velawidget
