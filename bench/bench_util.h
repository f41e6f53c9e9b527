// Timing helpers of the benchmark programs: processor seconds of one call,
// medians of several runs, and the common command line (--runs N, --quick).
#pragma once

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace taskloom::bench {

struct Options {
    int runs = 5;
    bool quick = false;  // small sizes and one run: checks that the programs work
};

inline Options ParseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            o.quick = true;
            o.runs = 1;
        } else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            o.runs = std::max(1, std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: %s [--runs N] [--quick]\n", argv[0]);
            std::exit(2);
        }
    }
    return o;
}

// Seconds of processor time (user and system) that the process spent in
// one call of `f`. The build machine is shared: time spent waiting for a
// processor would make wall-clock figures depend on the other jobs.
inline double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

inline double Seconds(const std::function<void()>& f) {
    const double start = CpuSeconds();
    f();
    return CpuSeconds() - start;
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Median seconds of `runs` calls.
inline double MedianSeconds(int runs, const std::function<void()>& f) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) t.push_back(Seconds(f));
    return Median(t);
}

[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "benchmark broken: %s\n", what);
    std::exit(1);
}

}  // namespace taskloom::bench
