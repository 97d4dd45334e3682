#include "platform/qt/HostTranslation.h"

#include <QFile>
#include <string>
#include <system_error>

#include "core/Debug.h"
#include "platform/qt/QmCheck.h"

namespace velawidget::quick {

std::optional<QByteArray> readHostTranslation(const std::filesystem::path& file) {
    // A FIFO or a device would block the read or never end; only plain files count.
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        debugLine("host translation file missing or not a file: " + file.string());
        return std::nullopt;
    }
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly)) {
        debugLine("host translation file unreadable: " + file.string());
        return std::nullopt;
    }
    // Read one byte past the cap: the size on disk may change while reading.
    QByteArray bytes;
    if (input.size() <= maxHostTranslationBytes) bytes = input.read(maxHostTranslationBytes + 1);
    if (input.size() > maxHostTranslationBytes || bytes.size() > maxHostTranslationBytes) {
        debugLine("host translation file larger than " + std::to_string(maxHostTranslationBytes) +
                  " bytes: " + file.string());
        return std::nullopt;
    }
    if (input.error() != QFileDevice::NoError) {
        debugLine("host translation file unreadable: " + file.string());
        return std::nullopt;
    }
    if (auto fault = qmStructureFault(bytes)) {
        debugLine("host translation file is not a compiled translation the kit can use (" + *fault +
                  "): " + file.string());
        return std::nullopt;
    }
    return bytes;
}

}  // namespace velawidget::quick
