// The timings the plain benchmark programs print: the median of five runs, in ms.
#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <vector>

namespace bench {

inline double MedianMs(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

template <class Run>
double MedianOfFiveMs(Run run) {
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    return MedianMs(std::move(times));
}

}  // namespace bench
