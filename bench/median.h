#pragma once

#include <algorithm>
#include <vector>

// The middle of a set of timings (the upper middle for an even count); 0 for none.
inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}
