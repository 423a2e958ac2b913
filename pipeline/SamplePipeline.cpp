// One pass of the sample pipeline per data notice.
#include "pipeline/SamplePipeline.h"

#include <algorithm>
#include <cstdio>
#include <climits>
#include <cstring>

namespace app {

std::string FormatLowPass(double hz) {
    if (hz == 0.0) return "------";
    char format[16];
    std::snprintf(format, sizeof format, "%%.%df", 3);
    char text[400];  // %.3f of the largest double fits
    std::snprintf(text, sizeof text, format, hz);
    if (std::strchr(text, '.') != nullptr) {
        for (size_t i = std::strlen(text); i-- > 3;) {
            if (text[i] != '0' || text[i - 1] == '.') break;
            text[i] = '\0';
        }
    }
    char field[8];
    std::snprintf(field, sizeof field, "%6.6s", text);
    return field;
}

namespace {

void Convert(const std::vector<int32_t>& counts, double factor, std::vector<double>& out) {
    out.resize(counts.size());
    for (size_t k = 0; k < counts.size(); ++k) out[k] = static_cast<double>(counts[k]) * factor;
}

}  // namespace

int SamplePipeline::OnSampleData(device::SampleHandOff& handOff, const Settings& settings,
                                 WaveBuffer (&rings)[3], PeakHold& peaks, bool measuring, bool holdNotice) {
    const size_t n = handOff.Take(taken_);
    if (n == 0) return 0;
    if (!measuring) {
        if (handOff.FinishNotice() && hooks.notifyAgain) hooks.notifyAgain();
        return 0;
    }
    if (hooks.countsBatch) hooks.countsBatch(taken_);
    Convert(taken_.x, settings.kanzan[0], batch_[0]);
    Convert(taken_.y, settings.kanzan[1], batch_[1]);
    Convert(taken_.z, settings.kanzan[2], batch_[2]);

    const std::string text = FormatLowPass(handOff.LowPassHz());
    const bool changed = text != lowPassText_;
    lowPassText_ = text;
    if (hooks.showLowPass) hooks.showLowPass(lowPassText_, changed);

    for (int a = 0; a < 3; ++a) {
        peaks.Widen(a, batch_[a]);
        rings[a].Append(batch_[a].data(), n);
    }

    if (hooks.recordBatch) hooks.recordBatch(batch_);
    if (hooks.triggerBatch) hooks.triggerBatch(batch_);
    const int count = static_cast<int>(std::min<size_t>(n, static_cast<size_t>(INT_MAX)));
    if (hooks.advanceGraphs) hooks.advanceGraphs(count);

    if (!holdNotice && handOff.FinishNotice() && hooks.notifyAgain) hooks.notifyAgain();
    return count;
}

}  // namespace app
