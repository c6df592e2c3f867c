#pragma once

#include <cstdio>
#include <cstdlib>

// A property a fuzz target holds on every input; a failed one stops the run
// with the condition, so that libFuzzer (or the replay) keeps the input.
#define KL_FUZZ_CHECK(condition)                                                                   \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
