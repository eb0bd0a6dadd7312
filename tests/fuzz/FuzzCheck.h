#pragma once

#include <cstdio>
#include <cstdlib>

// A property that must hold for every input: when it does not, the input is reported as a crash
// (libFuzzer keeps it as crash-<hash>).
#define FUZZ_CHECK(cond)                                                                                     \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);                    \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)
