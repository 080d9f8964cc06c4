// What every benchmark measures with: milliseconds since a moment, and the
// median of the runs.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace veltrano::bench {

using Clock = std::chrono::steady_clock;

inline double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// -1 when nothing was measured; of an even number of runs, the mean of the
// middle two.
inline double median(std::vector<double> v) {
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    const std::size_t mid = v.size() / 2;
    return v.size() % 2 ? v[mid] : (v[mid - 1] + v[mid]) / 2;
}

}  // namespace veltrano::bench
