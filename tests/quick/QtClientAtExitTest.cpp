// The facade keeps its HTTP client for the whole process, so the Qt client
// outlives the application object; Qt's own globals (its TLS back ends among
// them) go after that object, so the client's work has to end with it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <memory>
#include <thread>

#include "platform/qt/QtHttpClient.h"
#include "support/Completions.h"
#include "support/SandboxProcess.h"

namespace {

std::size_t answered(vela::test::Completions& done) {
    const std::lock_guard lock(done.mutex);
    return done.bodies.size();
}

TEST(QtHttpClientAtExit, EndsItsRequestsWithTheApplicationAndAnswersLaterOnesOnItsThread) {
    vela::test::SandboxProcess sandbox;
    int argc = 1;
    char name[] = "qt_client_at_exit_tests";
    char* argv[] = {name, nullptr};
    auto app = std::make_unique<QCoreApplication>(argc, argv);
    velawidget::quick::QtHttpClientOptions options;
    options.caFile = sandbox.certFile();
    options.connectTo = sandbox.address();
    velawidget::quick::QtHttpClient client(options);

    vela::test::Completions done;
    const velawidget::HttpRequest slowLogo{"https://qr.vela.example/logos/1.png?delay=60000",
                                           std::chrono::seconds(60),
                                           velawidget::CachePolicy::useCacheFirst};
    client.get(slowLogo, done.recorder());
    app.reset();
    // Answered, with no body, by the time the application object is gone.
    ASSERT_EQ(answered(done), 1u);
    EXPECT_FALSE(done.bodies.front().has_value());

    // The Qt work is over, the thread is not: a later request still gets its
    // one answer there, never inside the call that made it.
    client.get(slowLogo, done.recorder());
    ASSERT_TRUE(done.waitFor(2));
    EXPECT_FALSE(done.bodies.back().has_value());
    EXPECT_EQ(done.threads.back(), done.threads.front());
    EXPECT_NE(done.threads.back(), std::this_thread::get_id());
}

}  // namespace
