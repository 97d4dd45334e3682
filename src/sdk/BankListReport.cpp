#include <velawidget/BankListReport.h>

#include <string>

namespace velawidget {
namespace {

std::string count(std::size_t banks) {
    return std::to_string(banks) + (banks == 1 ? " bank" : " banks");
}

/// "3 hours": the largest whole unit, as a log reader would say it.
std::string age(std::chrono::seconds seconds) {
    struct Unit {
        long long seconds;
        const char* name;
    };
    static constexpr Unit units[] = {{86400, "day"}, {3600, "hour"}, {60, "minute"}, {1, "second"}};
    const long long total = seconds.count();
    for (const auto& unit : units) {
        if (total >= unit.seconds || unit.seconds == 1) {
            const long long amount = total / unit.seconds;
            return std::to_string(amount) + " " + unit.name + (amount == 1 ? "" : "s");
        }
    }
    return "0 seconds";
}

}  // namespace

std::string BankListReport::message() const {
    std::string why(describe(cause));
    if (httpStatus != 0 && cause == LoadFailureCause::httpStatus) {
        why.insert(why.size() - 1, " (HTTP " + std::to_string(httpStatus) + ")");
    }
    if (!result) return "No bank list could be obtained. " + why;
    const std::string banks = count(result.value().size());
    if (!fromCache) return "The bank list was downloaded: " + banks + ".";
    std::string text = "The bank list could not be downloaded; the cached list of " + banks;
    if (cacheAge) text += ", saved " + age(*cacheAge) + " ago,";
    return text + " was used instead. " + why;
}

}  // namespace velawidget
