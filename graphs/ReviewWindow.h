// What the time monitor shows at a review position: the window of held samples, its extremes and
// the date and time of its first sample. The cost follows the window, never the held samples.
#pragma once

#include <cstdint>
#include <string>

#include "pipeline/WaveBuffer.h"

namespace graphs {

struct ReviewSpan {
    int start = 0;  // index in the ring's storage of the first shown sample
    int count = 0;  // samples shown: a display window, or all held when fewer
};

// The span that scroll position `pos` (samples after the oldest held one; negative counts as 0)
// shows of `ring`, for a display window of `sweepLength` samples.
[[nodiscard]] ReviewSpan ReviewSpanAt(const WaveBuffer& ring, int pos, int sweepLength);

struct Extremes {
    double lo = 0.0;
    double hi = 0.0;
};

// Smallest and largest of the span's samples of `ring` (both 0 for an empty span or ring).
[[nodiscard]] Extremes SpanExtremes(const WaveBuffer& ring, const ReviewSpan& span);

struct ReviewClock {
    std::string date;  // "YYYY年MM月DD日", or "----年--月--日" when no time is known
    std::string time;  // "hh時mm分ss秒"
};

// The labels of scroll position `pos`: `baseTime` (local time of the oldest held sample in
// 100-ns units since 1 January 1601; 0 when unknown) plus 10 ms per position. Without a known
// time the time label counts from the oldest sample.
[[nodiscard]] ReviewClock ReviewClockAt(uint64_t baseTime, int pos);

}  // namespace graphs
