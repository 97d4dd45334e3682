#pragma once

#include <QtQml/qqmlregistration.h>

#include <QObject>
#include <QQmlPropertyMap>
#include <QUrl>
#include <QVariant>

namespace velawidget {

/// The kit's resource bundle as QML sees it: `Resources.colors.MainTextColor`
/// follows the current scheme, `Resources.image("vela_logo")` names an image
/// of the module. Lookups never reach the host's resources: everything lives
/// under the module's own prefix.
class Resources : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool darkScheme READ darkScheme NOTIFY darkSchemeChanged)
    // A plain value to QML: the map's keys are the scheme's colour names,
    // which no type information can list, so qmllint leaves those lookups be.
    Q_PROPERTY(QVariant colors READ colorsValue CONSTANT)

  public:
    explicit Resources(QObject* parent = nullptr);

    bool darkScheme() const;
    QQmlPropertyMap* colors() { return &colors_; }
    QVariant colorsValue() { return QVariant::fromValue<QObject*>(&colors_); }

    /// The image of that name in the module, or an empty address.
    Q_INVOKABLE QUrl image(const QString& name) const;

  Q_SIGNALS:
    void darkSchemeChanged();

  private:
    void refresh();

    QQmlPropertyMap colors_;
};

}  // namespace velawidget
