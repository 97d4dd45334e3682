#pragma once

#include <QtQml/qqmlregistration.h>

#include <QColor>
#include <QObject>
#include <QQmlPropertyMap>
#include <QUrl>
#include <QVariant>

class QJSEngine;
class QQmlEngine;

namespace velawidget {

class AppearanceState;

/// The kit's resource bundle as QML sees it: `Resources.colors.MainTextColor`
/// follows the current scheme and the host's appearance,
/// `Resources.image("vela_logo")` names an image of the module. Lookups
/// never reach the host's resources: everything lives under the module's own
/// prefix. Sizes come as the kit's own times `fontScale`, corners as
/// `radius` (rows, bars, buttons) and `smallRadius` (loading bars).
class Resources : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool darkScheme READ darkScheme NOTIFY darkSchemeChanged FINAL)
    // A plain value to QML: the map's keys are the scheme's colour names,
    // which no type information can list, so qmllint leaves those lookups be.
    Q_PROPERTY(QVariant colors READ colorsValue CONSTANT FINAL)
    Q_PROPERTY(qreal radius READ radius NOTIFY appearanceChanged FINAL)
    Q_PROPERTY(qreal smallRadius READ smallRadius NOTIFY appearanceChanged FINAL)
    Q_PROPERTY(QString fontFamily READ fontFamily NOTIFY appearanceChanged FINAL)
    Q_PROPERTY(qreal fontScale READ fontScale NOTIFY appearanceChanged FINAL)
    // Whether the host gave an accent; `focusColor` is the accent then and
    // the main text colour otherwise.
    Q_PROPERTY(bool accented READ accented NOTIFY appearanceChanged FINAL)
    Q_PROPERTY(QColor focusColor READ focusColor NOTIFY appearanceChanged FINAL)
    // The application is laid out right to left: the selector mirrors in
    // such a host whatever the kit's language.
    Q_PROPERTY(bool rightToLeftApplication READ rightToLeftApplication NOTIFY
                   applicationDirectionChanged FINAL)
    // The search field's input-method hints: bank names want neither word
    // prediction nor an automatic capital. A typed constant, because the same
    // flags named in QML (`Qt.ImhNoPredictiveText | ...`) make the engine
    // build the Qt namespace's whole enum table, about 6 million instructions
    // of the first frame.
    Q_PROPERTY(Qt::InputMethodHints searchInputHints READ searchInputHints CONSTANT FINAL)

  public:
    /// Follows `appearance`, which outlives it.
    explicit Resources(const AppearanceState& appearance, QObject* parent = nullptr);
    /// The engine's instance, following the engine's kit.
    static Resources* create(QQmlEngine* engine, QJSEngine*);

    bool darkScheme() const;
    QQmlPropertyMap* colors() { return &colors_; }
    QVariant colorsValue() { return QVariant::fromValue<QObject*>(&colors_); }
    qreal radius() const;
    qreal smallRadius() const;
    QString fontFamily() const;
    qreal fontScale() const;
    bool accented() const;
    QColor focusColor() const;
    bool rightToLeftApplication() const;
    static Qt::InputMethodHints searchInputHints() {
        return Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase;
    }

    /// The image of that name in the module, or an empty address.
    Q_INVOKABLE QUrl image(const QString& name) const;

  Q_SIGNALS:
    void darkSchemeChanged();
    void appearanceChanged();
    void applicationDirectionChanged();

  private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void refresh();

    const AppearanceState& appearance_;
    QQmlPropertyMap colors_;
};

}  // namespace velawidget
