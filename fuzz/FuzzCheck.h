#pragma once

#include <cstdio>
#include <cstdlib>

// The properties a fuzz target checks for every input. A failed one names itself on standard
// error and ends the process at once, so libFuzzer keeps the input as a crash and the corpus
// replay test fails.
#define FUZZ_CHECK(condition)                                                                        \
    do {                                                                                             \
        if (!(condition)) {                                                                          \
            std::fprintf(stderr, "fuzz property failed at %s:%d: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                            \
        }                                                                                            \
    } while (false)
