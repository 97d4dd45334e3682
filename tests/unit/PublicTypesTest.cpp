#include <gtest/gtest.h>
#include <velawidget/VelaWidgetError.h>

#include <cctype>
#include <string>
#include <system_error>
#include <utility>

namespace velawidget {
namespace {

// The ordinals and the category are the ABI check's; here only what a host's log shows.
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
