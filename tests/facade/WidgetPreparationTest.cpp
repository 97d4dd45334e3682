#include <gtest/gtest.h>
#include <velawidget/VelaWidgetError.h>
#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/platform.h>
#include <velawidget/platform/RunLoop.h>

#include <filesystem>
#include <system_error>

#include "FakePlatform.h"
#include "sdk/FacadeAccess.h"
#include "support/BankDocuments.h"
#include "support/DebugCapture.h"

namespace velawidget {
namespace {

using detail::FacadeAccess;
using vela::test::fakePlatform;

const std::string id = "AS1000670LSS7DN18SJQDNP4B05KLJL2";
const std::string qrLink = "https://qr.vela.example/" + id + "?type=02&sum=100";
const std::string subLink = "https://sub.vela.example/" + id;

VelaWidgetError thrownBy(std::string_view link) {
    try {
        FacadeAccess::prepareWidgetViewModel(VelaWidgetSDK::shared(), link);
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code().category(), velaWidgetErrorCategory());
        return static_cast<VelaWidgetError>(error.code().value());
    }
    ADD_FAILURE() << "accepted " << link;
    return VelaWidgetError::loadingFaild;
}

TEST(WidgetPreparation, TheFacadesOneModelTakesAcceptedLinksOnlyAndLoadsOnTheMainQueue) {
    auto& http = *fakePlatform().http;
    http.respondAll(std::nullopt);
    http.callbackQueue().runUntilIdle();
    for (auto& entry : std::filesystem::directory_iterator(fakePlatform().caches.path())) {
        std::filesystem::remove_all(entry.path());
    }
    auto mainLoop = std::dynamic_pointer_cast<RunLoop>(currentPlatform().mainQueue);
    ASSERT_TRUE(mainLoop) << "no main queue installed: the portable run loop";
    mainLoop->runUntilIdle();

    const auto before = http.requests().size();
    auto& model = FacadeAccess::widgetViewModel(VelaWidgetSDK::shared());
    EXPECT_EQ(&model, &FacadeAccess::widgetViewModel(VelaWidgetSDK::shared()));
    EXPECT_EQ(FacadeAccess::widgetViewModelPtr(VelaWidgetSDK::shared()).get(), &model);
    EXPECT_EQ(http.requests().size(), before) << "reaching the model starts nothing";

    FacadeAccess::prepareWidgetViewModel(VelaWidgetSDK::shared(), subLink);
    FacadeAccess::prepareWidgetViewModel(VelaWidgetSDK::shared(), qrLink);
    ASSERT_EQ(http.requests().size(), before + 2);
    EXPECT_EQ(http.requests().back().url, "https://qr.vela.example/proxyapp/c2bmembers.json");
    EXPECT_EQ(model.schema(), Schema::qr);
    EXPECT_EQ(std::string(model.paymentURL()->buffer()), qrLink);

    {
        vela::test::DebugCapture debug;
        EXPECT_EQ(thrownBy("http://[::1"), VelaWidgetError::invalidURLString);
        EXPECT_EQ(
            debug.linesStartingWith("preparing widget view model failed, invalid paymentURL: "),
            std::vector<std::string>{
                "preparing widget view model failed, invalid paymentURL: http://[::1"});
    }
    EXPECT_EQ(std::string(model.paymentURL()->buffer()), qrLink) << "a rejected link is not kept";
    EXPECT_EQ(model.schema(), Schema::qr);
    EXPECT_EQ(http.requests().size(), before + 2);

    const std::vector<Bank> banks{vela::test::bankWithLogo("x"), vela::test::bankWithLogo("y")};
    http.respond(http.pendingCount() - 1, vela::test::bankListDocument(banks));
    http.respond(0, std::nullopt);  // the subscription download, for a kind no longer served
    http.callbackQueue().runUntilIdle();
    auto& list = model.bankListViewModel();
    EXPECT_EQ(list.banks().size(), 5u) << "results wait for the main queue";
    mainLoop->runUntilIdle();
    EXPECT_EQ(list.banks(), banks);
    EXPECT_FALSE(list.errorMessage.value());
}

}  // namespace
}  // namespace velawidget
