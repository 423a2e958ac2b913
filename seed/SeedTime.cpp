// Calendar arithmetic for the archive's UTC times.
#include "seed/SeedTime.h"

namespace seed {

namespace {

constexpr uint64_t kFileTimeAt1970 = 116444736000000000ull;  // 100-ns units from 1601 to 1970
constexpr uint64_t kFileTimePerTick = 1000;

int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a - 1) / b) - 1; }

}  // namespace

// Proleptic Gregorian day counting in 400-year eras (H. Hinnant's well-known algorithm).
int64_t DaysFromCivil(int year, int month, int day) {
    const int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
    const int64_t era = FloorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t mp = (month + 9) % 12;
    const int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t days, int& year, int& month, int& day) {
    const int64_t z = days + 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

UtcFields FieldsOf(Ticks t) {
    UtcFields f;
    const int64_t days = DayOf(t);
    CivilFromDays(days, f.year, f.month, f.day);
    f.dayOfYear = static_cast<int>(days - DaysFromCivil(f.year, 1, 1) + 1);
    Ticks rest = t - DayStart(days);
    f.hour = static_cast<int>(rest / (3600 * kTicksPerSecond));
    rest %= 3600 * kTicksPerSecond;
    f.minute = static_cast<int>(rest / (60 * kTicksPerSecond));
    rest %= 60 * kTicksPerSecond;
    f.second = static_cast<int>(rest / kTicksPerSecond);
    f.tenthMs = static_cast<int>(rest % kTicksPerSecond);
    return f;
}

Ticks TicksOf(const UtcFields& f) {
    return DayStart(DaysFromCivil(f.year, f.month, f.day)) +
           ((static_cast<Ticks>(f.hour) * 60 + f.minute) * 60 + f.second) * kTicksPerSecond + f.tenthMs;
}

Ticks TicksFromFileTime(uint64_t fileTime) {
    if (fileTime >= kFileTimeAt1970) return static_cast<Ticks>((fileTime - kFileTimeAt1970) / kFileTimePerTick);
    return -static_cast<Ticks>((kFileTimeAt1970 - fileTime + kFileTimePerTick - 1) / kFileTimePerTick);
}

uint64_t FileTimeFromTicks(Ticks t) {
    return static_cast<uint64_t>(static_cast<int64_t>(kFileTimeAt1970) + t * static_cast<int64_t>(kFileTimePerTick));
}

}  // namespace seed
