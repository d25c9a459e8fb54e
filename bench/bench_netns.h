// Benchmarks talk to simulated devices, so they run only inside the private
// network namespace of scripts/in_netns.sh, where nothing can leave the
// machine. Outside it they say so and end as skipped.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>

// The exit status of a benchmark that did not run.
constexpr int BENCH_SKIP = 77;

// True inside the namespace; otherwise prints why the benchmark name does
// not run.
inline bool bench_in_netns(const char* name) {
    const char* v = std::getenv("MM_IN_NETNS");
    if (v && std::strcmp(v, "1") == 0)
        return true;
    std::fprintf(stderr, "%s: run inside scripts/in_netns.sh\n", name);
    return false;
}
