#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property must stop the run in the replay runner as well as under
// libFuzzer, whatever NDEBUG says: abort() is what both report as a crash.
#define VELA_FUZZ_CHECK(condition)                                                                \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)
