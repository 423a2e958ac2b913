// Widening the peaks by a batch.
#include "pipeline/PeakHold.h"

#include <algorithm>

namespace app {

void UpdatePeaks(const std::vector<double>& values, double& peakMin, double& peakMax) {
    double low = 0.0;
    double high = 0.0;
    for (double v : values) {
        if (v < low) low = v;
        else high = std::max(high, v);
    }
    peakMin = std::min(peakMin, low);
    peakMax = std::max(peakMax, high);
}

}  // namespace app
