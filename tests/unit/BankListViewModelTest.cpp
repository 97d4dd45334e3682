#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "selection/BankListViewModel.h"
#include "support/ManualClock.h"

namespace velawidget {
namespace {

using namespace std::chrono_literals;

class KeyTexts final : public TextLookup {
  public:
    std::string localized(const std::string& key) const override { return "T:" + key; }
};

Bank bank(std::string name, std::string logo) {
    return {std::move(name), std::move(logo), "bank", std::nullopt, std::nullopt};
}

std::vector<Bank> sampleBanks() {
    std::vector<Bank> banks;
    for (const char* name : {"Velobank", "Bank Velo Online", "Велобанк", "Ёлка Банк",
                             "Τράπεζα Ορφεώς", "Straßenbank", "İşık Kredi", "Crédit Lumière"}) {
        banks.push_back(bank(name, std::string("https://logos.example/") + name));
    }
    return banks;
}

std::vector<std::string> namesOf(const std::vector<BankListCellViewModel>& cells) {
    std::vector<std::string> names;
    for (const auto& cell : cells) names.push_back(cell.name);
    return names;
}

class BankListViewModelTest : public ::testing::Test {
  protected:
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    BankListViewModel model{clock,
                            std::make_shared<const FixedTexts>(std::make_shared<KeyTexts>())};

    /// Types `text` and lets the throttle pass it on.
    std::vector<std::string> search(const std::string& text) {
        model.searchingBarViewInput = text;
        clock->advance(BankListViewModel::searchThrottle);
        return namesOf(model.cellModels.value());
    }
};

TEST_F(BankListViewModelTest, SearchFoldsCaseAccentsAndScriptsButKeepsEdgeBlanks) {
    model.updateBanks(sampleBanks());
    const auto all = namesOf(model.cellModels.value());
    ASSERT_EQ(all.size(), 8u);
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {" \n\t\u3000", all},  // only White_Space shows every bank
        {"VELO", {"Velobank", "Bank Velo Online"}},
        {" velo", {"Bank Velo Online"}},  // a leading blank takes part in the match
        {"velo ", {"Bank Velo Online"}},  // so does a trailing one
        {"е\u0308лка", {"Ёлка Банк"}},    // a decomposed accent matches a composed one
        {"ΟΡΦΕΏΣ", {"Τράπεζα Ορφεώς"}},   // final sigma in the root locale
        {"STRAẞE", {"Straßenbank"}},
        {"İŞ", {"İşık Kredi"}},
        {"CRE\u0301DIT", {"Crédit Lumière"}},
        {"банк", {"Велобанк", "Ёлка Банк"}},
        {"\xff", {}},  // broken UTF-8 matches nothing
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(search(text), expected) << text;
}

TEST_F(BankListViewModelTest, SteadyTypingRefiltersAboutEveryHalfSecondAndEndsWithTheFullText) {
    model.updateBanks(sampleBanks());
    // Each delivery filters with the text as it stands at that moment.
    std::vector<std::string> filtered;
    auto watch = model.cellModels.sink([&](const std::vector<BankListCellViewModel>& cells) {
        filtered.push_back(model.searchingBarViewInput.value() + ":" +
                           std::to_string(cells.size()));
    });
    filtered.clear();
    const std::string typed = "velo and more letter";
    for (std::size_t i = 1; i <= typed.size(); ++i) {  // one keystroke every 100 ms
        model.searchingBarViewInput = typed.substr(0, i);
        clock->advance(100ms);
    }
    clock->advance(1s);
    EXPECT_EQ(filtered, (std::vector<std::string>{"v:2", "velo :1", "velo and m:0",
                                                  "velo and more l:0", "velo and more letter:0"}));
}

TEST_F(BankListViewModelTest, RowsFollowNewBanksAndTheMessageFollowsTheRows) {
    clock->advance(500ms);
    // A failed download's message outlasts every search until new banks come.
    model.showLoadFailure("download failed");
    search("x");
    search("");
    EXPECT_EQ(model.errorMessage.value(), "download failed");

    // New banks follow the search text at once, as the field shows it.
    model.updateBanks(sampleBanks());
    EXPECT_FALSE(model.loadFailed.value());
    EXPECT_FALSE(model.errorMessage.value());
    EXPECT_EQ(search("velo").size(), 2u);
    model.updateBanks(sampleBanks());
    EXPECT_EQ(model.cellModels->size(), 2u);

    model.updateBanks({});
    EXPECT_EQ(model.errorMessage.value(), "T:LS.VelaWidget.emptyText");
    EXPECT_EQ(search("zzz"), std::vector<std::string>{});
}

TEST_F(BankListViewModelTest, TapsSelectTheFirstBankWithTheRowsLogoEveryTime) {
    clock->advance(500ms);
    std::vector<std::optional<std::string>> selections;
    auto watch = model.selectedBank.sink([&](const std::optional<Bank>& selected) {
        selections.push_back(selected ? std::optional(selected->bankName) : std::nullopt);
    });
    selections.clear();
    model.selectBank(model.cellModels->front());  // a placeholder row matches no bank

    auto banks = sampleBanks();
    banks.push_back(bank("Velobank twin", banks[0].logoURL));
    model.updateBanks(banks);
    const auto twin = model.cellModels->back();
    model.selectBank(twin);
    model.selectBank(twin);
    EXPECT_EQ(selections, (std::vector<std::optional<std::string>>{{}, "Velobank", "Velobank"}));
}

}  // namespace
}  // namespace velawidget
