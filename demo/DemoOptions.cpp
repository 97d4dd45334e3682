#include "DemoOptions.h"

#include <QStringList>

namespace vela::demo {

std::optional<DemoOptions> parseDemoOptions(const QStringList& arguments, QString& problem) {
    DemoOptions options;
    const struct {
        const char* flag;
        QString DemoOptions::*field;
    } flags[] = {
        {"--connect-to", &DemoOptions::connectTo}, {"--cacert", &DemoOptions::caFile},
        {"--caches-dir", &DemoOptions::cachesDir}, {"--screenshots", &DemoOptions::screenshotDir},
        {"--bank-app", &DemoOptions::bankAppLink}, {"--link", &DemoOptions::link},
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        bool known = false;
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
    return options;
}

}  // namespace vela::demo
