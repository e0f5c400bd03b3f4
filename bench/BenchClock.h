#pragma once
// Time and order statistics shared by the benchmark programs.
#include <windows.h>

#include <algorithm>
#include <vector>

// Milliseconds on the high-resolution counter.
inline double NowMs() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER c;
    ::QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The value at fraction p (0 to 1) of the sorted values, nearest rank.
inline double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * (v.size() - 1) + 0.5));
    return v[i];
}

inline double Median(const std::vector<double>& v) {
    return Percentile(v, 0.5);
}
