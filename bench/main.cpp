// Runs every registered benchmark, or only those whose names contain the first argument.

#include "bench/Bench.h"

#include <cstring>

std::vector<BenchCase>& benchCases()
{
    static std::vector<BenchCase> cases;
    return cases;
}

int main(int argc, char** argv)
{
    const char* only = argc > 1 ? argv[1] : nullptr;
#ifdef _WIN32
    std::printf("Tesselwork 2 benchmarks (Win32 build)\n");
#else
    std::printf("Tesselwork 2 benchmarks (native build)\n");
#endif
    for (const BenchCase& c : benchCases()) {
        if (only && !std::strstr(c.name, only))
            continue;
        std::printf("%s\n", c.name);
        std::fflush(stdout);
        c.run();
    }
    return 0;
}
