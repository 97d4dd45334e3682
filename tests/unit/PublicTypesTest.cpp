#include <gtest/gtest.h>
#include <velawidget/VelaWidgetError.h>

#include <cctype>
#include <string>
#include <system_error>
#include <type_traits>
#include <utility>

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

TEST(PublicTypesTest, ErrorMessagesAreSentencesThatNameTheCase) {
    const std::pair<VelaWidgetError, std::string> cases[] = {
        {VelaWidgetError::invalidURLString, "invalidURLString"},
        {VelaWidgetError::loadingFaild, "loadingFaild"},
        {VelaWidgetError::presentationFailed, "presentationFailed"},
    };
    for (const auto& [error, name] : cases) {
        const std::string message = std::error_code(error).message();
        // More than the bare name, which told a host's log nothing.
        EXPECT_GT(message.size(), name.size() + 20) << message;
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(message.front()))) << message;
        EXPECT_EQ(message.back(), '.') << message;
        EXPECT_NE(message.find("(" + name + ")"), std::string::npos) << message;
    }
}

}  // namespace
}  // namespace velawidget
