#include "DemoOptions.h"

#include <QLocale>
#include <QStringList>
#include <cstring>

namespace vela::demo {

std::optional<DemoOptions> parseDemoOptions(const QStringList& arguments, QString& problem) {
    DemoOptions options;
    using Field = QString DemoOptions::*;
    const struct {
        const char* flag;
        Field field;
    } flags[] = {
        {"--connect-to", &DemoOptions::connectTo},
        {"--cacert", &DemoOptions::caFile},
        {"--caches-dir", &DemoOptions::cachesDir},
        {"--screenshots", &DemoOptions::screenshotDir},
        {"--bank-app", &DemoOptions::bankAppLink},
        {"--link", &DemoOptions::link},
        {"--locale", &DemoOptions::locale},
        {"--qr-png", &DemoOptions::phoneCodePng},
        {"--appearance", &DemoOptions::appearanceFile},
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        bool known = argument == QLatin1String("--dark");
        if (known) options.dark = true;
        for (const auto& flag : flags) {
            if (argument != QLatin1String(flag.flag)) continue;
            if (i + 1 >= arguments.size()) {
                problem = argument + QStringLiteral(" needs a value");
                return std::nullopt;
            }
            options.*flag.field = arguments[++i];
            known = true;
        }
        if (!known) {
            problem = QStringLiteral("unknown argument: ") + argument;
            return std::nullopt;
        }
    }
    if (!options.locale.isEmpty() && QLocale(options.locale) == QLocale::c() &&
        options.locale != QLatin1String("C")) {
        problem = QStringLiteral("unknown locale: ") + options.locale;
        return std::nullopt;
    }
    return options;
}

bool mentionsFlag(int argc, char** argv, const char* flag) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], flag) == 0) return true;
    }
    return false;
}

}  // namespace vela::demo
