#include <gtest/gtest.h>

#include "support/SandboxProcess.h"

namespace {

using vela::test::SandboxProcess;

// The fault modes themselves are exercised through the kit's client; this
// covers the sandbox's own controls.
TEST(Sandbox, ControlsAndCounters) {
    SandboxProcess sandbox({"--fault", "status:503"});
    EXPECT_EQ(sandbox.stat("c2bmembers"), 0);
    EXPECT_EQ(sandbox.stat("logos"), 0);
    for (const char* refused : {"", "delay", "delay:x", "status:42", "drop:1", "delay:5:garbage",
                                "status:500:junk", "explode"}) {
        EXPECT_FALSE(sandbox.setFault(refused)) << refused;
    }
    for (const char* accepted : {"none", "drop", "delay:0", "status:418", "status:503:garbage",
                                 "truncate", "garbage", "empty", "huge", "slow"}) {
        EXPECT_TRUE(sandbox.setFault(accepted)) << accepted;
    }
    EXPECT_EQ(sandbox.stop(), 0);
}

TEST(Sandbox, RefusesBadStartOptions) {
    EXPECT_THROW(SandboxProcess({"--fault", "explode"}), std::runtime_error);
    EXPECT_THROW(SandboxProcess({"--cert", "/nonexistent"}), std::runtime_error);
    EXPECT_THROW(SandboxProcess({"--data-dir", "/nonexistent"}), std::runtime_error);
}

}  // namespace
