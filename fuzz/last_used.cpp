// The last-used file as anyone on the device may have left it, and the
// reordering of a bank list by it. The input is the file's bytes, a NUL,
// then the logo texts of the banks one per line.
#include <unicode/ustring.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "MemoryFileStore.h"
#include "catalogue/Storage.h"

namespace {

std::vector<velawidget::Bank> banksFrom(std::string_view text) {
    std::vector<velawidget::Bank> banks;
    if (text.empty()) return banks;
    for (;;) {
        const auto end = text.find('\n');
        velawidget::Bank bank;
        // The name tells banks with the same logo apart.
        bank.bankName = std::to_string(banks.size());
        bank.logoURL = std::string(text.substr(0, end));
        bank.appScheme = "bank";
        banks.push_back(std::move(bank));
        if (end == std::string_view::npos || banks.size() == 64) return banks;
        text.remove_prefix(end + 1);
    }
}

/// Logo texts come out of decoded JSON documents, so they are always UTF-8.
bool validUtf8(std::string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strFromUTF8(nullptr, 0, &length, text.data(), static_cast<int32_t>(text.size()), &status);
    return status == U_BUFFER_OVERFLOW_ERROR || status == U_STRING_NOT_TERMINATED_WARNING ||
           (U_SUCCESS(status) && text.empty());
}

bool sameBanks(std::vector<velawidget::Bank> a, std::vector<velawidget::Bank> b) {
    const auto byName = [](const velawidget::Bank& x, const velawidget::Bank& y) {
        return x.bankName < y.bankName;
    };
    std::sort(a.begin(), a.end(), byName);
    std::sort(b.begin(), b.end(), byName);
    return a == b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto split = input.find('\0');
    const std::string_view fileBytes = input.substr(0, split);
    const std::string_view bankText =
        split == std::string_view::npos ? std::string_view{} : input.substr(split + 1);

    auto files = std::make_shared<vela::fuzz::MemoryFileStore>();
    const velawidget::Storage storage(nullptr, files);
    const auto file = storage.lastUsedBanksFileURL();
    VELA_FUZZ_CHECK(file.has_value());
    VELA_FUZZ_CHECK(!files->write(*file, fileBytes));

    const auto names = storage.readLastUsedBanks();
    VELA_FUZZ_CHECK(names.size() <= velawidget::Storage::lastUsedLimit);
    const auto banks = banksFrom(bankText);
    const auto ordered = storage.applyLastUsedOrder(banks);
    VELA_FUZZ_CHECK(ordered.size() == banks.size());
    VELA_FUZZ_CHECK(sameBanks(ordered, banks));

    // Without a file entry matching a bank, the list keeps its order.
    const bool anyNamed = std::any_of(banks.begin(), banks.end(), [&](const velawidget::Bank& b) {
        return std::find(names.begin(), names.end(), b.logoURL) != names.end();
    });
    if (!anyNamed) VELA_FUZZ_CHECK(ordered == banks);

    // Recording a choice over whatever the file held leaves a clean list:
    // the choice first, at most three entries, none twice.
    const std::string& chosen = banks.empty() ? std::string() : banks.front().logoURL;
    if (!banks.empty() && chosen.find('\n') == std::string::npos && validUtf8(chosen)) {
        storage.updateLastUsedBank(banks.front().logoURL);
        const auto after = storage.readLastUsedBanks();
        VELA_FUZZ_CHECK(!after.empty() && after.size() <= 3);
        VELA_FUZZ_CHECK(after.front() == banks.front().logoURL);
        for (std::size_t i = 0; i < after.size(); ++i) {
            VELA_FUZZ_CHECK(std::count(after.begin(), after.end(), after[i]) == 1);
        }
    }
    return 0;
}
