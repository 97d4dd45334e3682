#pragma once

#include <velawidget/quick/Appearance.h>
#include <velawidget/quick/QtPlatform.h>

#include <QObject>

#include "screens/ResolvedAppearance.h"

namespace velawidget {

/// How a kit's selectors draw: the host's scheme override (or the
/// application palette's: a window colour darker than mid-grey is dark) and
/// its appearance, resolved for that scheme. Owned by the kit's front end,
/// reached by the screens through their engine's kit. Main thread only.
class AppearanceState : public QObject {
    Q_OBJECT

  public:
    AppearanceState();

    bool dark() const { return dark_; }
    quick::ColorScheme colorScheme() const { return override_; }
    const ResolvedAppearance& resolved() const { return resolved_; }
    const quick::Appearance& appearance() const { return appearance_; }

    void setOverride(quick::ColorScheme scheme);
    void setAppearance(const quick::Appearance& appearance);

  Q_SIGNALS:
    /// The scheme override, the scheme in force or anything resolved changed.
    void changed();

  private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool update();

    quick::ColorScheme override_ = quick::ColorScheme::system;
    quick::Appearance appearance_;
    bool dark_ = false;
    ResolvedAppearance resolved_;
};

}  // namespace velawidget
