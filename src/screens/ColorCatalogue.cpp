#include "screens/ColorCatalogue.h"

#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace velawidget {
namespace {

QHash<QString, NamedColor> readCatalogue() {
    QHash<QString, NamedColor> catalogue;
    QFile file(QStringLiteral(":/VelaWidget/colours.json"));
    if (!file.open(QIODevice::ReadOnly)) return catalogue;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    for (auto it = root.begin(); it != root.end(); ++it) {
        const QJsonObject entry = it.value().toObject();
        catalogue.insert(it.key(),
                         {QColor::fromString(entry.value(QLatin1String("light")).toString()),
                          QColor::fromString(entry.value(QLatin1String("dark")).toString())});
    }
    return catalogue;
}

}  // namespace

const NamedColor& namedColor(const QString& name) {
    // Thread-safe one-time read; read-only afterwards.
    static const QHash<QString, NamedColor> catalogue = readCatalogue();
    static const NamedColor missing{QColor(Qt::magenta), QColor(Qt::magenta)};
    const auto it = catalogue.constFind(name);
    return it == catalogue.constEnd() ? missing : *it;
}

const QStringList& colorNames() {
    static const QStringList names = {
        QStringLiteral("MainTextColor"),         QStringLiteral("SecondaryTextColor"),
        QStringLiteral("MainBackground"),        QStringLiteral("SecondaryBackground"),
        QStringLiteral("PlaceholderBackground"),
    };
    return names;
}

}  // namespace velawidget
