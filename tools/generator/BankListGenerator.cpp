#include "BankListGenerator.h"

#include <array>
#include <random>
#include <string_view>

namespace vela::generator {
namespace {

struct Script {
    std::vector<std::string_view> stems;
    std::vector<std::string_view> words;  ///< what follows the stem: "Bank", "Банк", ...
};

const std::array<Script, 3>& scripts() {
    static const std::array<Script, 3> all{{
        {{"Brümmel", "Velmé", "Quastel", "Zimbråsse", "Lüftlinger", "Vórtilo", "Östermumm",
          "Tüddel", "Łopatka", "Ñandú", "Fuchsdüne", "Mirabéla", "Knöpfel", "Pimpernel",
          "Gloamberry", "Zuckré"},
         {"Bank", "Banque", "Banco", "Kredit", "Savings", "Trust", "Capital", "Finance"}},
        {{"Ватрушкин", "Черничный", "Валенковый", "Ёлочный", "Пряничный", "Сметанный", "Самоварный",
          "Колобковый", "Ёжиковый", "Кукушкин", "Ромашковый", "Облепиховый"},
         {"Банк", "Кредит", "Копилка", "Капитал", "Инвест", "Развитие"}},
        {{"Καραβίδων", "Γλάρων", "Μελισσών", "Λουκουμάδων", "Ώριμων", "Σαλιγκαριών", "Κουκουβάγιας",
          "Πορτοκαλιών"},
         {"Τράπεζα", "Πίστη", "Κεφάλαιο", "Αποταμίευση"}},
    }};
    return all;
}

void appendEscaped(std::string& out, std::string_view text) {
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
}

}  // namespace

std::vector<std::string> bankNames(std::size_t count, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    std::vector<std::string> names;
    names.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        // Latin names are the most common, as on a real list.
        const auto pick = random() % 10;
        const Script& script = scripts()[pick < 6 ? 0 : pick < 9 ? 1 : 2];
        std::string name(script.stems[random() % script.stems.size()]);
        name += ' ';
        name += script.words[random() % script.words.size()];
        if (random() % 3 == 0) {
            // Appended piece by piece: GCC 12 at -O3 warns (-Wrestrict) on
            // "literal" + std::string temporaries.
            name += ' ';
            name += std::to_string(random() % 900 + 100);
        }
        names.push_back(std::move(name));
    }
    return names;
}

std::string bankListDocument(const GeneratorOptions& options) {
    std::mt19937_64 random(options.seed ^ 0x5eedULL);
    const auto names = bankNames(options.banks, options.seed);
    std::string out = "{\"version\":\"1.0\",\"dictionary\":[";
    out.reserve(options.banks * 220);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i != 0) out += ',';
        out += "{\"bankName\":\"";
        appendEscaped(out, names[i]);
        for (std::string_view piece :
             {std::string_view("\",\"logoURL\":\"https://"), std::string_view(options.kind),
              std::string_view("."), std::string_view(options.domain),
              std::string_view("/logos/")}) {
            out += piece;
        }
        out += std::to_string(100000 + i);
        out += ".png\",\"schema\":\"velabank-g";
        out += std::to_string(i);
        out += '"';
        if (random() % 10 == 0) {
            out += ",\"webClientUrl\":\"https://web.velabank-g";
            out += std::to_string(i);
            out += ".example/pay\",\"isWebClientActive\":\"true\"";
        } else if (random() % 4 == 0) {
            out += ",\"isWebClientActive\":\"false\"";
        }
        out += '}';
    }
    out += "]}";
    return out;
}

}  // namespace vela::generator
