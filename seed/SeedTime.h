// UTC times of the miniSEED archive: ticks of 100 µs (the resolution of a record's start time)
// since 1970-01-01 00:00:00 UTC, and their calendar fields.
#pragma once

#include <cstdint>

namespace seed {

using Ticks = int64_t;
constexpr Ticks kTicksPerSecond = 10000;
constexpr Ticks kTicksPerSample = 100;  // 10 ms: the recorder's 100 samples per second
constexpr Ticks kTicksPerDay = 86400 * kTicksPerSecond;

struct UtcFields {
    int year = 1970, month = 1, day = 1;
    int dayOfYear = 1;  // 1..366
    int hour = 0, minute = 0, second = 0;
    int tenthMs = 0;  // 0..9999: units of 100 µs within the second
};

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
[[nodiscard]] int64_t DaysFromCivil(int year, int month, int day);
void CivilFromDays(int64_t days, int& year, int& month, int& day);

// The UTC day a time falls in (days since 1970-01-01, rounded down), and that day's first tick.
[[nodiscard]] constexpr int64_t DayOf(Ticks t) { return t >= 0 ? t / kTicksPerDay : -((-t - 1) / kTicksPerDay) - 1; }
[[nodiscard]] constexpr Ticks DayStart(int64_t day) { return day * kTicksPerDay; }

[[nodiscard]] UtcFields FieldsOf(Ticks t);
[[nodiscard]] Ticks TicksOf(const UtcFields& f);  // uses year, month, day, hour, minute, second, tenthMs

// The platform's file times (100 ns since 1601-01-01) and ticks; rounds down.
[[nodiscard]] Ticks TicksFromFileTime(uint64_t fileTime);
[[nodiscard]] uint64_t FileTimeFromTicks(Ticks t);

}  // namespace seed
