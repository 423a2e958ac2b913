// Number and time fields of imported files.
#include "files/ImportFields.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace files {

namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); }

// The result of the number [p, end) that the parser found out of range: its magnitude is far above
// 1 or far below it, so the position of its first significant digit against the point (and the
// exponent) tells.
double OutOfRange(const char* p, const char* end, bool hex) {
    long long magnitude = 0;  // a power of the base, roughly
    bool seenPoint = false, seenDigit = false;
    long long leading = 0, whole = 0;
    const char expChar = hex ? 'p' : 'e';
    for (; p < end; ++p) {
        const char c = *p;
        if (c == '.') {
            seenPoint = true;
        } else if (hex ? IsHexDigit(c) : IsDigit(c)) {
            if (!seenDigit && c == '0') {
                if (seenPoint) ++leading;
            } else {
                seenDigit = true;
                if (!seenPoint) ++whole;
            }
        } else {
            break;
        }
    }
    magnitude = seenDigit ? (whole > 0 ? whole : -leading - 1) : 0;
    if (p < end && (*p | 0x20) == expChar) {
        ++p;
        bool negative = false;
        if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
        long long e = 0;
        for (; p < end && IsDigit(*p); ++p)
            if (e < 1000000000) e = e * 10 + (*p - '0');
        magnitude += hex ? (negative ? -e / 4 : e / 4) : (negative ? -e : e);
    }
    return magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
}

// End of the hexadecimal number (digits, point, digits, and a "p" exponent only when it has
// digits) that begins at p.
const char* HexNumberEnd(const char* p, const char* end) {
    while (p < end && IsHexDigit(*p)) ++p;
    if (p < end && *p == '.') {
        ++p;
        while (p < end && IsHexDigit(*p)) ++p;
    }
    if (p < end && (*p | 0x20) == 'p') {
        const char* e = p + 1;
        if (e < end && (*e == '+' || *e == '-')) ++e;
        if (e < end && IsDigit(*e)) {
            while (e < end && IsDigit(*e)) ++e;
            return e;
        }
    }
    return p;
}

}  // namespace

double ReadDouble(const char* p, const char* end) {
    double plain = 0.0;
    const char* stop = nullptr;
    if (ReadPlainDecimal(p, end, plain, stop)) return plain;
    while (p < end && IsSpace(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    // No number at all gives 0 whatever sign came before.
    if (p == end || *p == '+' || *p == '-') return 0.0;

    double value = 0.0;
    if (end - p >= 2 && p[0] == '0' && (p[1] | 0x20) == 'x') {
        const char* digits = p + 2;
        // "0x" without a hexadecimal number is the number 0 followed by an "x".
        if (digits < end && (IsHexDigit(*digits) || (*digits == '.' && digits + 1 < end && IsHexDigit(digits[1])))) {
            // The library misreads some malformed exponents ("p+-1"): it is given the number only.
            const char* stop = HexNumberEnd(digits, end);
            const std::from_chars_result r = std::from_chars(digits, stop, value, std::chars_format::hex);
            if (r.ec == std::errc::result_out_of_range) value = OutOfRange(digits, r.ptr, true);
        }
    } else {
        const std::from_chars_result r = std::from_chars(p, end, value);
        if (r.ec == std::errc::result_out_of_range) value = OutOfRange(p, r.ptr, false);
        else if (r.ec != std::errc()) return 0.0;
    }
    return negative ? -value : value;
}

namespace {

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : days[m - 1];
}

// Days from 1 January 1601 to the given date (proleptic Gregorian calendar).
int64_t DaysSince1601(int y, int m, int d) {
    // Shift the year to begin in March, so the leap day is the year's last day.
    const int64_t year = y - (m <= 2 ? 1 : 0);
    const int64_t era = year / 400;  // year >= 1600 here
    const int64_t yoe = year - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const int64_t daysFromMarch1600 = era * 146097 + doe - 1600 / 400 * 146097;
    return daysFromMarch1600 - 306;  // 1 March 1600 to 1 January 1601
}

}  // namespace

std::optional<uint64_t> FileTimeOf(const CalendarTime& t) {
    if (t.year < 1601 || t.year > 30827 || t.month < 1 || t.month > 12) return std::nullopt;
    if (t.day < 1 || t.day > DaysInMonth(t.year, t.month)) return std::nullopt;
    if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59)
        return std::nullopt;
    const int64_t seconds = DaysSince1601(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
    return static_cast<uint64_t>(seconds) * 10000000u;
}

}  // namespace files
