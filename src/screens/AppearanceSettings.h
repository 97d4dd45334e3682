#pragma once

#include <QtQml/qqmlregistration.h>

#include <QObject>
#include <QVariantMap>

namespace velawidget {

/// `setAppearance` for hosts written in QML, as the singleton `Appearance`:
/// `Appearance.apply({accent: "#2a6f4e", cornerRadius: 4, light:
/// {MainBackground: "#f4f1ea"}})` takes the keys and values of
/// `appearanceFromJson`; `Appearance.reset()` brings back the kit's look.
/// Like the C++ call it changes every selector of the process.
class AppearanceSettings : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(Appearance)
    QML_SINGLETON

  public:
    explicit AppearanceSettings(QObject* parent = nullptr) : QObject(parent) {}

    /// False, with a warning naming the fault and the look unchanged, when
    /// `appearance` does not fit the format.
    Q_INVOKABLE bool apply(const QVariantMap& appearance);
    Q_INVOKABLE void reset();
};

}  // namespace velawidget
