// Timing for the benchmark programs: the best of several runs, and one
// figure per printed line.
#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace bench {

inline double BestMs(int runs, const std::function<void()>& fn)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        fn();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

inline void Report(const char* what, double ms) { std::printf("%-66s %9.2f ms\n", what, ms); }

}  // namespace bench
