#pragma once

#include <QColor>
#include <QString>

namespace velawidget {

/// One named colour of the kit's catalogue, in both schemes.
struct NamedColor {
    QColor light;
    QColor dark;
};

/// The colour catalogue compiled into the module (":/VelaWidget/colours.json"),
/// read once per process on first use and shared afterwards. A name the
/// catalogue lacks yields magenta in both schemes, so the gap shows.
const NamedColor& namedColor(const QString& name);

/// The five names the screens use. Listed here rather than read from the
/// catalogue's keys: the screens bind to these names, so an entry missing
/// from the catalogue still appears (in magenta) instead of leaving a QML
/// binding undefined.
const QStringList& colorNames();

}  // namespace velawidget
