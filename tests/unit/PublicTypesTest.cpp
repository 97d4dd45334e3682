#include <gtest/gtest.h>
#include <velawidget/VelaWidgetBank.h>
#include <velawidget/VelaWidgetError.h>

#include <functional>
#include <system_error>
#include <type_traits>

#include "sdk/BankFactory.h"

namespace velawidget {
namespace {

TEST(PublicTypesTest, ErrorIsAnErrorCodeWithItsOrdinalAndDomain) {
    static_assert(std::is_error_code_enum_v<VelaWidgetError>);
    const std::error_code presentation = VelaWidgetError::presentationFailed;
    EXPECT_EQ(presentation.value(), 2);
    EXPECT_STREQ(presentation.category().name(), "VelaWidget.VelaWidgetError");
    EXPECT_EQ(std::error_code(VelaWidgetError::invalidURLString).value(), 0);
    EXPECT_EQ(std::error_code(VelaWidgetError::loadingFaild).value(), 1);
    EXPECT_EQ(&std::error_code(VelaWidgetError::loadingFaild).category(),
              &velaWidgetErrorCategory());

    // Two separately obtained values of one case are equal and hash equally.
    const auto obtain = [](int ordinal) { return static_cast<VelaWidgetError>(ordinal); };
    const VelaWidgetError first = obtain(1), second = obtain(1);
    EXPECT_EQ(first, second);
    EXPECT_EQ(std::hash<VelaWidgetError>{}(first), std::hash<VelaWidgetError>{}(second));
    EXPECT_EQ(std::error_code(first), std::error_code(second));
    EXPECT_NE(VelaWidgetError::invalidURLString, VelaWidgetError::presentationFailed);
    EXPECT_NE(std::error_code(VelaWidgetError::invalidURLString), presentation);
    // A foreign code with the same number is a different error.
    EXPECT_NE(std::error_code(2, std::generic_category()), presentation);

    try {
        throw std::system_error(VelaWidgetError::loadingFaild);
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code(), VelaWidgetError::loadingFaild);
    }
}

TEST(PublicTypesTest, BanksAreDistinctRecordsWithAnOptionalLogo) {
    static_assert(!std::is_constructible_v<VelaWidgetBank, std::string, std::optional<std::string>,
                                           std::string>);
    static_assert(!std::is_copy_constructible_v<VelaWidgetBank>);
    const auto withLogo = detail::BankFactory::make("Bank", "https://l/b.png", "bank://pay/x");
    const auto withoutLogo = detail::BankFactory::make("Bank", std::nullopt, "bank://pay/x");
    EXPECT_EQ(withLogo->name(), "Bank");
    EXPECT_EQ(withLogo->logoURL(), "https://l/b.png");
    EXPECT_EQ(withLogo->dboLink(), "bank://pay/x");
    EXPECT_EQ(withoutLogo->logoURL(), std::nullopt);
    EXPECT_EQ(withoutLogo->name(), "Bank");
}

}  // namespace
}  // namespace velawidget
