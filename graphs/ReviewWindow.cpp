// The review window of the time monitor: span, extremes and date and time labels.
#include "graphs/ReviewWindow.h"

#include <algorithm>
#include <cstdio>

namespace graphs {

ReviewSpan ReviewSpanAt(const WaveBuffer& ring, int pos, int sweepLength) {
    ReviewSpan span;
    const int capacity = ring.Capacity();
    if (capacity <= 0) return span;
    span.start = ring.PhysicalIndex(std::max(pos, 0));
    span.count = std::max(std::min(sweepLength, ring.heldCount), 0);
    return span;
}

Extremes SpanExtremes(const WaveBuffer& ring, const ReviewSpan& span) {
    Extremes e;
    const int capacity = ring.Capacity();
    const int n = std::min(span.count, capacity);
    if (n <= 0 || span.start < 0 || span.start >= capacity) return e;
    const double* samples = ring.samples.data();
    e.lo = e.hi = samples[span.start];
    // Two plain runs instead of a modulo per sample.
    const int first = std::min(n, capacity - span.start);
    for (int k = 0; k < n; ++k) {
        const double v = samples[k < first ? span.start + k : k - first];
        e.lo = std::min(e.lo, v);
        e.hi = std::max(e.hi, v);
    }
    return e;
}

ReviewClock ReviewClockAt(uint64_t baseTime, int pos) {
    constexpr uint64_t kPerSecond = 10000000;  // file-time units
    constexpr uint64_t kPerSample = 100000;    // 10 ms
    const uint64_t t = baseTime + static_cast<uint64_t>(std::max(pos, 0)) * kPerSample;
    const uint64_t seconds = t / kPerSecond;
    const int64_t daysSince1601 = static_cast<int64_t>(seconds / 86400);
    const int secondOfDay = static_cast<int>(seconds % 86400);

    // Civil date of a day count (proleptic Gregorian), counted in 400-year eras from 1 March 0000.
    const int64_t z = daysSince1601 + 584694;  // 1 January 1601 is day 584694 after 1 March 0000
    const int64_t era = z / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const long long year = static_cast<long long>(yoe + era * 400 + (month <= 2 ? 1 : 0));

    ReviewClock clock;
    char text[64];
    if (baseTime != 0) std::snprintf(text, sizeof text, "%04lld年%02d月%02d日", year, month, day);
    else std::snprintf(text, sizeof text, "----年--月--日");
    clock.date = text;
    std::snprintf(text, sizeof text, "%02d時%02d分%02d秒", secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60);
    clock.time = text;
    return clock;
}

}  // namespace graphs
