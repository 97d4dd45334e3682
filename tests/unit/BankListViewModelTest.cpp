#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "selection/BankListViewModel.h"
#include "selection/NameFolding.h"
#include "support/ManualClock.h"

namespace velawidget {
namespace {

using namespace std::chrono_literals;

/// Translates every key to "T:" + key and counts the lookups.
class CountingTexts final : public TextLookup {
  public:
    std::string localized(const std::string& key) const override {
        ++lookups[key];
        return "T:" + key;
    }
    mutable std::map<std::string, int> lookups;
};

Bank bank(std::string name, std::string logo) {
    return {std::move(name), std::move(logo), "bank", std::nullopt, std::nullopt};
}

std::vector<Bank> sampleBanks() {
    return {
        bank("Velobank", "https://logos.example/velo.png"),
        bank("Bank Velo Online", "https://logos.example/velo-online.png"),
        bank("Велобанк", "https://logos.example/velo-ru.png"),
        bank("Ёлка Банк", "https://logos.example/yolka.png"),
        bank("Τράπεζα Ορφεώς", "https://logos.example/orfeas.png"),
        bank("Straßenbank", "https://logos.example/strasse.png"),
        bank("İşık Kredi", "https://logos.example/isik.png"),
        bank("Crédit Lumière", "https://logos.example/lumiere.png"),
    };
}

std::vector<std::string> namesOf(const std::vector<BankListCellViewModel>& cells) {
    std::vector<std::string> names;
    for (const auto& cell : cells) names.push_back(cell.name);
    return names;
}

class BankListViewModelTest : public ::testing::Test {
  protected:
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    std::shared_ptr<CountingTexts> texts = std::make_shared<CountingTexts>();
    BankListViewModel model{clock, std::make_shared<const FixedTexts>(texts)};

    /// Types `text` and lets the throttle pass it on.
    std::vector<std::string> search(const std::string& text) {
        model.searchingBarViewInput = text;
        clock->advance(BankListViewModel::searchThrottle);
        return namesOf(model.cellModels.value());
    }
};

TEST_F(BankListViewModelTest, StartsWithFivePlaceholderRows) {
    std::vector<std::string> ids;
    for (const auto& cell : model.cellModels.value()) {
        EXPECT_FALSE(cell.logoURL);
        ids.push_back(cell.id());
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"placholder_0", "placholder_1", "placholder_2",
                                             "placholder_3", "placholder_5"}));
    EXPECT_FALSE(model.errorMessage.value());
    ASSERT_EQ(model.banks().size(), 5u);
    EXPECT_EQ(model.banks()[0].webClientUrl, std::optional<std::string>(""));
    EXPECT_EQ(model.banks()[0].appScheme, "qr");
    clock->advance(500ms);
    EXPECT_EQ(model.cellModels->size(), 5u) << "the throttled empty text keeps them";
}

TEST_F(BankListViewModelTest, SearchFoldsCaseAccentsAndScriptsButKeepsEdgeBlanks) {
    model.updateBanks(sampleBanks());
    const auto all = namesOf(model.cellModels.value());
    ASSERT_EQ(all.size(), 8u);

    EXPECT_EQ(search(" \n\t\u3000"), all) << "only White_Space shows every bank";
    EXPECT_EQ(search("VELO"), (std::vector<std::string>{"Velobank", "Bank Velo Online"}));
    EXPECT_EQ(search(" velo"), (std::vector<std::string>{"Bank Velo Online"}))
        << "a leading blank takes part in the match";
    EXPECT_EQ(search("velo "), (std::vector<std::string>{"Bank Velo Online"}))
        << "so does a trailing one";
    EXPECT_EQ(search("ВЕЛО"), (std::vector<std::string>{"Велобанк"}));
    EXPECT_EQ(search("е\u0308лка"), (std::vector<std::string>{"Ёлка Банк"}))
        << "a decomposed accent matches a composed one";
    EXPECT_EQ(search("ΟΡΦΕΏΣ"), (std::vector<std::string>{"Τράπεζα Ορφεώς"}))
        << "final sigma in the root locale";
    EXPECT_EQ(search("STRAẞE"), (std::vector<std::string>{"Straßenbank"}));
    EXPECT_EQ(search("İŞ"), (std::vector<std::string>{"İşık Kredi"}));
    EXPECT_EQ(search("i\u0307ş"), (std::vector<std::string>{"İşık Kredi"}));
    EXPECT_EQ(search("CRE\u0301DIT"), (std::vector<std::string>{"Crédit Lumière"}));
    EXPECT_EQ(search("банк"), (std::vector<std::string>{"Велобанк", "Ёлка Банк"}));
    EXPECT_EQ(search("\xff"), (std::vector<std::string>{})) << "broken UTF-8 matches nothing";
}

TEST_F(BankListViewModelTest, SteadyTypingRefiltersAboutEveryHalfSecondAndEndsWithTheFullText) {
    std::vector<Bank> banks;
    for (char c = 'a'; c <= 'z'; ++c) {
        banks.push_back(
            bank(std::string("bank ") + c + c, std::string("https://logos.example/") + c));
    }
    model.updateBanks(banks);
    std::vector<std::pair<std::chrono::milliseconds, std::string>> filtered;
    const auto start = clock->now();
    auto watch = model.cellModels.sink([&](const std::vector<BankListCellViewModel>& cells) {
        // Each delivery filters with the text as it stands at that moment.
        const auto& text = model.searchingBarViewInput.value();
        const std::size_t expected = text.empty()       ? 26
                                     : text.size() <= 5 ? 26
                                     : text.size() <= 7 ? 1
                                                        : 0;
        EXPECT_EQ(cells.size(), expected) << text;
        filtered.emplace_back(
            std::chrono::duration_cast<std::chrono::milliseconds>(clock->now() - start),
            model.searchingBarViewInput.value());
    });
    filtered.clear();

    const std::string typed = "bank pp and more letters";
    for (std::size_t i = 1; i <= 20; ++i) {  // one keystroke every 100 ms for two seconds
        model.searchingBarViewInput = typed.substr(0, i);
        clock->advance(100ms);
    }
    clock->advance(1s);
    std::vector<std::chrono::milliseconds> times;
    for (const auto& [time, text] : filtered) times.push_back(time);
    EXPECT_EQ(times, (std::vector<std::chrono::milliseconds>{0ms, 500ms, 1000ms, 1500ms, 2000ms}));
    EXPECT_EQ(filtered.front().second, "b");
    EXPECT_EQ(filtered.back().second, typed.substr(0, 20));
}

TEST_F(BankListViewModelTest, RowsFollowNewBanksAndTheMessageFollowsTheRows) {
    clock->advance(500ms);
    // A message written over the placeholders gives way to the empty-list
    // message when typing matches no placeholder, and to the rows when cleared.
    model.errorMessage = std::string("written");
    EXPECT_EQ(search("x"), std::vector<std::string>{});
    EXPECT_EQ(model.errorMessage.value(), "T:LS.VelaWidget.emptyText");
    EXPECT_EQ(search("").size(), 5u);
    EXPECT_FALSE(model.errorMessage.value());

    // A failed download's message outlasts every search until new banks come.
    model.showLoadFailure("download failed");
    search("x");
    search("");
    EXPECT_EQ(model.errorMessage.value(), "download failed");

    // New banks show in full whatever the search text; the text applies again at its next change.
    model.updateBanks(sampleBanks());
    EXPECT_FALSE(model.loadFailed.value());
    EXPECT_FALSE(model.errorMessage.value());
    EXPECT_EQ(search("velo").size(), 2u);
    model.updateBanks(sampleBanks());
    EXPECT_EQ(model.cellModels->size(), 8u);
    clock->advance(5s);
    EXPECT_EQ(model.cellModels->size(), 8u);
    EXPECT_EQ(search("velob"), (std::vector<std::string>{"Velobank"}));

    model.updateBanks({});
    EXPECT_EQ(model.errorMessage.value(), "T:LS.VelaWidget.emptyText");
    EXPECT_EQ(search("zzz"), std::vector<std::string>{});
    EXPECT_EQ(texts->lookups["LS.VelaWidget.emptyText"], 1) << "a fixed text is looked up once";
}

TEST_F(BankListViewModelTest, TapsSelectTheFirstBankWithTheRowsLogoEveryTime) {
    clock->advance(500ms);
    std::vector<std::optional<Bank>> selections;
    auto watch = model.selectedBank.sink(
        [&](const std::optional<Bank>& selected) { selections.push_back(selected); });
    selections.clear();

    model.selectBank(model.cellModels->front());
    ASSERT_EQ(selections.size(), 1u);
    EXPECT_FALSE(selections[0]) << "a placeholder row matches no bank";

    auto banks = sampleBanks();
    banks.push_back(bank("Velobank twin", banks[0].logoURL));
    banks.push_back(bank("Bank without logo", ""));
    banks.push_back(bank("Bank with a broken logo", "http://[::1"));
    model.updateBanks(banks);
    const auto cells = model.cellModels.value();
    ASSERT_EQ(cells.size(), 11u);
    EXPECT_EQ(cells[8].id(), "https://logos.example/velo.png");
    EXPECT_EQ(cells[9].id(), "Bank without logo");
    EXPECT_EQ(cells[10].id(), "Bank with a broken logo");

    selections.clear();
    model.selectBank(cells[8]);
    model.selectBank(cells[8]);
    model.selectBank(cells[9]);
    model.selectBank(cells[10]);
    ASSERT_EQ(selections.size(), 4u) << "every tap publishes, the same row twice too";
    EXPECT_EQ(selections[0]->bankName, "Velobank") << "the first bank with that logo wins";
    EXPECT_EQ(selections[1]->bankName, "Velobank");
    EXPECT_FALSE(selections[2]);
    EXPECT_FALSE(selections[3]);
}

}  // namespace
}  // namespace velawidget
