#include "screens/Resources.h"

#include <QFile>

#include "screens/ActiveColorScheme.h"
#include "screens/ColorCatalogue.h"

namespace velawidget {

Resources::Resources(QObject* parent) : QObject(parent) {
    refresh();
    connect(&ActiveColorScheme::instance(), &ActiveColorScheme::changed, this, [this] {
        refresh();
        Q_EMIT darkSchemeChanged();
    });
}

bool Resources::darkScheme() const {
    return ActiveColorScheme::instance().dark();
}

void Resources::refresh() {
    const bool dark = darkScheme();
    for (const auto& name : colorNames()) {
        const auto& colour = namedColor(name);
        colors_.insert(name, dark ? colour.dark : colour.light);
    }
}

QUrl Resources::image(const QString& name) const {
    const QString path = QStringLiteral(":/VelaWidget/images/") + name + QStringLiteral(".svg");
    if (!QFile::exists(path)) return {};
    return QUrl(QStringLiteral("qrc") + path);
}

}  // namespace velawidget
