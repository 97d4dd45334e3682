#pragma once

#include <QtQml/qqmlregistration.h>

#include <QObject>
#include <QVariantMap>

class QJSEngine;
class QQmlEngine;

namespace velawidget {

class AppearanceState;

/// `setAppearance` for hosts written in QML, as the singleton `Appearance`:
/// `Appearance.apply({accent: "#2a6f4e", cornerRadius: 4, light:
/// {MainBackground: "#f4f1ea"}})` takes the keys and values of
/// `appearanceFromJson`; `Appearance.reset()` brings back the kit's look.
/// Like the C++ call it changes every selector of the engine's kit (the
/// facade's, in an engine the host made).
class AppearanceSettings : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(Appearance)
    QML_SINGLETON

  public:
    /// Changes `appearance`, which outlives it.
    explicit AppearanceSettings(AppearanceState& appearance, QObject* parent = nullptr)
        : QObject(parent), appearance_(appearance) {}
    static AppearanceSettings* create(QQmlEngine* engine, QJSEngine*);

    /// False, with a warning naming the fault and the look unchanged, when
    /// `appearance` does not fit the format.
    Q_INVOKABLE bool apply(const QVariantMap& appearance);
    Q_INVOKABLE void reset();

  private:
    AppearanceState& appearance_;
};

}  // namespace velawidget
