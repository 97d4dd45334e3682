#include "AppearanceFile.h"

#include <QFile>
#include <stdexcept>

namespace vela::demo {
namespace {

// As much as the kit reads; one byte more tells a larger file apart.
constexpr qint64 maxBytes = qint64{64} * 1024;

}  // namespace

std::optional<velawidget::quick::Appearance> readAppearanceFile(const QString& path,
                                                                QString& problem) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problem = path + QStringLiteral(": ") + file.errorString();
        return std::nullopt;
    }
    const QByteArray text = file.read(maxBytes + 1);
    if (text.size() > maxBytes) {
        problem = path + QStringLiteral(": over 64 KiB");
        return std::nullopt;
    }
    try {
        return velawidget::quick::appearanceFromJson(text.toStdString());
    } catch (const std::invalid_argument& error) {
        problem = path + QStringLiteral(": ") + QString::fromUtf8(error.what());
        return std::nullopt;
    }
}

}  // namespace vela::demo
