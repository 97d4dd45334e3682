#include <gtest/gtest.h>
#include <velawidget/VelaWidgetError.h>

#include <string>
#include <system_error>
#include <utility>

namespace velawidget {
namespace {

// The ordinals and the category are the ABI check's; here only what a host's log shows:
// a sentence naming its case, more than the bare name that told a log nothing.
TEST(PublicTypesTest, ErrorMessagesAreSentencesThatNameTheCase) {
    for (const auto& [error, name] :
         {std::pair{VelaWidgetError::invalidURLString, "invalidURLString"},
          std::pair{VelaWidgetError::loadingFaild, "loadingFaild"},
          std::pair{VelaWidgetError::presentationFailed, "presentationFailed"}}) {
        const std::string message = std::error_code(error).message();
        EXPECT_GT(message.size(), std::string(name).size() + 20) << message;
        EXPECT_NE(message.find("(" + std::string(name) + ")"), std::string::npos) << message;
    }
}

}  // namespace
}  // namespace velawidget
