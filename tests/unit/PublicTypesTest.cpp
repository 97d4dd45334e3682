#include <gtest/gtest.h>
#include <velawidget/VelaWidgetError.h>

#include <system_error>
#include <type_traits>

namespace velawidget {
namespace {

TEST(PublicTypesTest, ErrorIsAnErrorCodeWithItsOrdinalAndDomain) {
    static_assert(std::is_error_code_enum_v<VelaWidgetError>);
    const std::error_code presentation = VelaWidgetError::presentationFailed;
    EXPECT_EQ(std::error_code(VelaWidgetError::invalidURLString).value(), 0);
    EXPECT_EQ(std::error_code(VelaWidgetError::loadingFaild).value(), 1);
    EXPECT_EQ(presentation.value(), 2);
    EXPECT_STREQ(presentation.category().name(), "VelaWidget.VelaWidgetError");
    // A foreign code with the same number is a different error.
    EXPECT_NE(std::error_code(2, std::generic_category()), presentation);
}

}  // namespace
}  // namespace velawidget
