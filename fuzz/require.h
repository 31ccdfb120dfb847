#pragma once

#include <cstdlib>

// A property every input must keep: libFuzzer reports the input that breaks it.
inline void require(bool condition)
{
    if (!condition)
        std::abort();
}
