#pragma once
// The invariant check of the fuzz targets: a broken invariant is a crash that libFuzzer keeps.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, what)                                                        \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "invariant broken at %s:%d: %s\n", __FILE__, __LINE__,  \
                         what);                                                            \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)
