// Whether this run may talk to peers: network tests run only inside the
// private network namespace of the test command (scripts/in_netns.sh), so
// that nothing can leave the machine. A test that cannot run says so with
// the integration skip reason, which .ci/run refuses to accept.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#define MM_INTEGRATION_SKIP "integration test not run: "

inline bool in_private_netns() {
    const char* v = std::getenv("MM_IN_NETNS");
    return v && std::string(v) == "1";
}

#define REQUIRE_NETNS()                                                                            \
    do {                                                                                           \
        if (!in_private_netns())                                                                   \
            GTEST_SKIP() << MM_INTEGRATION_SKIP "run inside scripts/in_netns.sh";                  \
    } while (0)

// Skip of a test of the windowed program whose X server or peers are missing.
#define REQUIRE_GUI(ready)                                                                         \
    do {                                                                                           \
        if (!(ready))                                                                              \
            GTEST_SKIP() << MM_INTEGRATION_SKIP "needs the private network namespace and an X "    \
                                                "server";                                          \
    } while (0)
