#include "screens/AppearanceReader.h"

#include <QJsonDocument>
#include <QJsonValue>
#include <QStringView>
#include <cctype>
#include <stdexcept>

#include "screens/SchemeColorFields.h"

namespace velawidget {
namespace {

// "#rrggbb" or "#aarrggbb", nothing else: QColor would also take names and
// "#rgb", which a theme file had better not lean on.
std::optional<quick::Rgba> readColor(const QJsonValue& value) {
    const QString text = value.toString();
    if (text.size() != 7 && text.size() != 9) return std::nullopt;
    if (!text.startsWith(QLatin1Char('#'))) return std::nullopt;
    for (const QChar c : QStringView(text).mid(1)) {
        if (c.unicode() > 0x7f || !std::isxdigit(c.unicode())) return std::nullopt;
    }
    bool ok = false;
    const uint digits = QStringView(text).mid(1).toUInt(&ok, 16);
    if (!ok) return std::nullopt;
    const auto alpha = static_cast<std::uint8_t>(text.size() == 9 ? digits >> 24 : 0xff);
    return quick::rgb(digits & 0xffffff, alpha);
}

bool readScheme(const QJsonValue& value, const QString& key, quick::SchemeColors& colors,
                QString& problem) {
    if (!value.isObject()) {
        problem = QStringLiteral("\"%1\" must be an object of colours").arg(key);
        return false;
    }
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const SchemeColorField* field = nullptr;
        for (const auto& entry : schemeColorFields) {
            if (it.key() == QLatin1String(entry.name)) field = &entry;
        }
        if (!field) {
            problem = QStringLiteral("unknown colour \"%1\" in \"%2\"").arg(it.key(), key);
            return false;
        }
        const auto colour = readColor(it.value());
        if (!colour) {
            problem = QStringLiteral("\"%1\" in \"%2\" must be \"#rrggbb\" or \"#aarrggbb\"")
                          .arg(it.key(), key);
            return false;
        }
        colors.*field->field = colour;
    }
    return true;
}

}  // namespace

std::optional<quick::Appearance> readAppearance(const QJsonObject& object, QString& problem) {
    quick::Appearance appearance;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString& key = it.key();
        const QJsonValue value = it.value();
        if (key == QLatin1String("light") || key == QLatin1String("dark")) {
            auto& colors = key == QLatin1String("light") ? appearance.light : appearance.dark;
            if (!readScheme(value, key, colors, problem)) return std::nullopt;
        } else if (key == QLatin1String("accent")) {
            appearance.accent = readColor(value);
            if (!appearance.accent) {
                problem = QStringLiteral("\"accent\" must be \"#rrggbb\" or \"#aarrggbb\"");
                return std::nullopt;
            }
        } else if (key == QLatin1String("cornerRadius") || key == QLatin1String("fontScale")) {
            if (!value.isDouble()) {
                problem = QStringLiteral("\"%1\" must be a number").arg(key);
                return std::nullopt;
            }
            if (key == QLatin1String("fontScale")) {
                appearance.fontScale = value.toDouble();
            } else {
                appearance.cornerRadius = value.toDouble();
            }
        } else if (key == QLatin1String("fontFamily")) {
            if (!value.isString()) {
                problem = QStringLiteral("\"fontFamily\" must be a string");
                return std::nullopt;
            }
            appearance.fontFamily = value.toString().toStdString();
        } else {
            problem = QStringLiteral("unknown key \"%1\"").arg(key);
            return std::nullopt;
        }
    }
    return appearance;
}

}  // namespace velawidget

namespace velawidget::quick {

Appearance appearanceFromJson(const std::string& json) {
    if (json.size() > static_cast<std::size_t>(maxAppearanceBytes)) {
        throw std::invalid_argument("appearance: over 64 KiB");
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray::fromRawData(json.data(), static_cast<qsizetype>(json.size())), &error);
    if (error.error != QJsonParseError::NoError) {
        throw std::invalid_argument("appearance: not JSON (" + error.errorString().toStdString() +
                                    " at byte " + std::to_string(error.offset) + ")");
    }
    if (!document.isObject()) throw std::invalid_argument("appearance: not a JSON object");
    QString problem;
    auto appearance = readAppearance(document.object(), problem);
    if (!appearance) throw std::invalid_argument("appearance: " + problem.toStdString());
    return *appearance;
}

}  // namespace velawidget::quick
