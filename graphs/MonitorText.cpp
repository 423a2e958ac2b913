// Value field texts, time labels and scroll moves of the time-waveform monitor.
#include "graphs/MonitorText.h"

#include <cstdio>

#include "pipeline/SamplePipeline.h"

namespace graphs {

std::string FormatValue6(double v) {
    if (v >= 999999.5) return "*Over*";
    // −99999.5 itself would round to −100000, which does not fit in six characters.
    if (v <= -99999.5) return "*over*";
    const char* format = "%6.1f";
    if (v >= 9999.5) format = "%6.0f";
    else if (v >= 999.95) format = "%5.0f.";
    else if (v >= 0) format = "%6.1f";
    else if (v >= -999.5) format = "%6.1f.";
    else if (v >= -9999.5) format = "%5.0f.";
    else format = "%6.0f";
    char text[64];
    std::snprintf(text, sizeof text, format, v);
    return std::string(text).substr(0, 6);
}

std::string FieldText(double v, int bit) {
    if (bit == 16) return FormatValue6(v);
    int whole = 0;
    if (v >= 2147483647.0) whole = 2147483647;
    else if (v <= -2147483648.0) whole = -2147483647 - 1;
    else if (v == v) whole = static_cast<int>(v);
    return std::to_string(whole);
}

std::string FormatHz(double hz) {
    // The low-pass field's rule, which shows 0 as dashes; a frequency of 0 is a number here.
    return hz == 0.0 ? "   0.0" : app::FormatLowPass(hz);
}

std::string FormatPsdValue(double v) {
    char value[400];  // %5.1f of the largest double fits
    std::snprintf(value, sizeof value, "%5.1f", v);
    char field[8];
    std::snprintf(field, sizeof field, "%6.6s", value);
    return field;
}

std::string FormatTimeLabel(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", seconds);
    return text;
}

std::optional<int> ScrollTarget(int code, int pos, int trackPos, int rangeMax, int page) {
    switch (code) {
    case kLineLeft: return pos - 1;
    case kLineRight: return pos + 1;
    case kPageLeft: return pos - page;
    case kPageRight: return pos + page;
    case kThumbTrack: return trackPos;
    case kLeft: return 0;
    case kRight: return rangeMax;
    case kThumbPosition:
    case kEndScroll: return std::nullopt;
    default: return pos;
    }
}

}  // namespace graphs
