#include "support/BankDocuments.h"

#include <boost/json.hpp>

namespace vela::test {

velawidget::Bank bankWithLogo(const std::string& logoURL) {
    return {"Bank " + logoURL, logoURL, "bankapp", std::nullopt, std::nullopt};
}

std::string bankListDocument(const std::vector<velawidget::Bank>& banks) {
    auto optional = [](const std::optional<std::string>& text) -> boost::json::value {
        if (!text) return nullptr;
        return boost::json::string(*text);
    };
    boost::json::array dictionary;
    for (const auto& bank : banks) {
        dictionary.push_back(boost::json::object{
            {"bankName", bank.bankName},
            {"logoURL", bank.logoURL},
            {"schema", bank.appScheme},
            {"webClientUrl", optional(bank.webClientUrl)},
            {"isWebClientActive", optional(bank.isWebClientActive)},
        });
    }
    return boost::json::serialize(
        boost::json::object{{"version", "1.0"}, {"dictionary", std::move(dictionary)}});
}

std::vector<std::string> logosOf(const std::vector<velawidget::Bank>& banks) {
    std::vector<std::string> logos;
    for (const auto& bank : banks) logos.push_back(bank.logoURL);
    return logos;
}

}  // namespace vela::test
