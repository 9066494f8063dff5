#pragma once
// A tiny benchmark registry: each benchmark prints its figures; nothing here is a test.

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

struct BenchCase {
    const char* name;
    std::function<void()> run;
};

std::vector<BenchCase>& benchCases();

struct BenchRegistration {
    BenchRegistration(const char* name, std::function<void()> run)
    {
        benchCases().push_back({name, std::move(run)});
    }
};

#define TESSEL_BENCH_CAT2(a, b) a##b
#define TESSEL_BENCH_CAT(a, b) TESSEL_BENCH_CAT2(a, b)
#define TESSEL_BENCH(name)                                                              \
    static void TESSEL_BENCH_CAT(bench_, name)();                                       \
    static BenchRegistration TESSEL_BENCH_CAT(benchReg_, name)(#name,                  \
                                                              &TESSEL_BENCH_CAT(bench_, name)); \
    static void TESSEL_BENCH_CAT(bench_, name)()

// Wall-clock seconds since an arbitrary start, for measuring spans.
inline double benchSeconds()
{
    using clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(clock::now().time_since_epoch()).count();
}

// One line of output: "name: value unit  (goal)".
inline void benchFigure(const std::string& name, double value, const char* unit,
                        const std::string& goal = std::string())
{
    std::printf("  %-58s %12.3f %-6s %s\n", name.c_str(), value, unit, goal.c_str());
    std::fflush(stdout);
}

// A figure beside the floor it cannot beat, measured in the same run on the same data:
// "name: value unit  (floor F unit, x R; goal ...)". The ratio is value / floor.
inline void benchAgainstFloor(const std::string& name, double value, double floor, const char* unit,
                              const std::string& goal = std::string())
{
    char tail[160];
    std::snprintf(tail, sizeof tail, "(floor %.3f %s, x %.2f%s%s)", floor, unit, floor > 0 ? value / floor : 0.0,
                  goal.empty() ? "" : "; goal ", goal.c_str());
    benchFigure(name, value, unit, tail);
}

// What a user typically stacks: tidy the separators, number the files, drop a bracketed
// part, fix the extension's case and date-stamp the name.
inline const std::vector<std::string>& benchTypicalRules()
{
    static const std::vector<std::string> rules = {
        "FILENAME REPLACE \"_\" with \" \"",
        "FILENAME PREFIX digit length:4",
        "FILENAME REMOVE (*)",
        "FILEEXT LOWERCASE all",
        "FILENAME SUFFIX date format:dd-mm-yyyy",
    };
    return rules;
}
