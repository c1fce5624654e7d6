// Timing for the benchmark programs: the times of several runs or the best
// of them, and one figure per printed line.
#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {

// The times of `runs` runs of `fn` in milliseconds, shortest first.
inline std::vector<double> Times(int runs, const std::function<void()>& fn)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        fn();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms;
}

inline double BestMs(int runs, const std::function<void()>& fn) { return Times(runs, fn).front(); }

inline void Report(const char* what, double ms) { std::printf("%-66s %9.2f ms\n", what, ms); }

}  // namespace bench
