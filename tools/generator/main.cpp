// vela-bankgen: writes a bank-list document of fictional banks to stdout.
#include <charconv>
#include <cstring>
#include <iostream>
#include <string_view>

#include "BankListGenerator.h"

namespace {

bool parseNumber(std::string_view text, auto& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
    vela::generator::GeneratorOptions options;
    bool countGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--seed" && hasValue && parseNumber(argv[i + 1], options.seed)) {
            ++i;
        } else if (arg == "--domain" && hasValue) {
            options.domain = argv[++i];
        } else if (arg == "--kind" && hasValue) {
            options.kind = argv[++i];
        } else if (!countGiven && parseNumber(arg, options.banks)) {
            countGiven = true;
        } else {
            std::cerr << "usage: vela-bankgen COUNT [--seed N] [--domain D] [--kind qr|sub]\n";
            return 64;
        }
    }
    if (!countGiven) {
        std::cerr << "usage: vela-bankgen COUNT [--seed N] [--domain D] [--kind qr|sub]\n";
        return 64;
    }
    std::cout << vela::generator::bankListDocument(options) << '\n';
    return 0;
}
