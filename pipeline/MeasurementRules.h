// Rules of measurement control that need no window: ring sizing and the COM lamp table.
#pragma once

#include <cstdint>
#include <string>

#include "config/Settings.h"
#include "pipeline/WaveBuffer.h"

namespace app {

// Status texts of the control panel's "COM状態" field (CP932 bytes).
inline constexpr const char* kStatusOpenError = "OPEN ｴﾗｰ";     // lamp 0: port or thread failed
inline constexpr const char* kStatusReceiveError = "受信 ｴﾗｰ";  // lamp 1: no bytes arrive
inline constexpr const char* kStatusReceiving = "受信中";       // lamp 2: bytes and valid lines
inline constexpr const char* kStatusDataError = "ﾃﾞｰﾀｴﾗｰ";      // lamp 3: bytes, invalid lines
inline constexpr const char* kStatusIdle = "待機中";            // lamp 4: no measurement

// Largest ring the sizing rule gives (about 11 hours per axis); keeps the rings allocatable.
inline constexpr int kMaxRingCapacity = 4000000;

struct LinkStatus {
    int lamp;          // COM lamp state, 1..3 while running
    const char* text;  // one of the status texts above
};

// The lamp and text the one-second status update shows for the link's state bits.
[[nodiscard]] LinkStatus StatusForLinkState(int32_t linkState);

// The status text of COM lamp state 0..4; other states give "".
[[nodiscard]] const char* StatusText(int lamp);

// Samples in `seconds` at 100 per second, rounded to nearest; NaN and negatives give 0 and the
// result never exceeds kMaxRingCapacity.
[[nodiscard]] int SamplesForSeconds(double seconds);

// The capacity every ring gets at a measurement start: room for two display windows, and for the
// pre-trigger and after-time spans plus one display window, and at least [SPEC] RING_BUF_MIN_SIZE.
// Always within 1 .. kMaxRingCapacity, whatever the settings hold (a TIME_SEL outside 0..3 is
// clamped into it).
[[nodiscard]] int RingCapacity(const Settings& settings);

// Gives the three rings `capacity` zeros each (clamped to 1 .. kMaxRingCapacity). When that much
// cannot be allocated, halves the size until all three fit, so the rings always end up the same
// size; returns it (0 only when not even one sample per ring could be had).
[[nodiscard]] int ResetRings(WaveBuffer (&rings)[3], int capacity);

// The event log's note that the rings got only `got` samples, fewer than [SPEC] RING_BUF_MIN_SIZE
// (start-up) or the sizing rule (measurement start) asked for; short enough for the panel's list.
[[nodiscard]] std::string RingShortfallText(int got);

}  // namespace app
