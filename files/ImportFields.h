// Fields of imported files: numbers read the way the C library's atof and atoi read them (but
// never past the field's end and the same in every build), and calendar times as file times.
#pragma once

#include <cstdint>
#include <optional>

namespace files {

// The common case of a number field, read exactly and fast: "[-]digits[.digits]" with at most 19
// digits whose value is below 2^53 and at most 22 decimals, not followed by an exponent. Sets
// `value` (correctly rounded, as atof would give it) and `stop` (the first byte after the
// number) and returns true; returns false, changing nothing, for anything else.
inline bool ReadPlainDecimal(const char* p, const char* end, double& value, const char*& stop) {
    static constexpr double kPow10[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                          1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* q = p;
    const bool negative = q < end && *q == '-';
    if (negative) ++q;
    const char* first = q;
    uint64_t m = 0;
    while (q < end && static_cast<unsigned char>(*q - '0') < 10) m = m * 10 + static_cast<unsigned>(*q++ - '0');
    if (q == first) return false;
    int digits = static_cast<int>(q - first);
    int decimals = 0;
    if (q < end && *q == '.') {
        const char* f = ++q;
        while (q < end && static_cast<unsigned char>(*q - '0') < 10) m = m * 10 + static_cast<unsigned>(*q++ - '0');
        decimals = static_cast<int>(q - f);
        digits += decimals;
    }
    if (digits > 19 || decimals > 22 || m > (uint64_t{1} << 53)) return false;
    if (q < end && ((*q | 0x20) == 'e' || (*q | 0x20) == 'x')) return false;
    // Both operands are exact, so the one rounding of the division is the correct one.
    const double v = static_cast<double>(m) / kPow10[decimals];
    value = negative ? -v : v;
    stop = q;
    return true;
}

// The double at the start of [p, end) as atof reads it: white space, one sign, then a decimal or
// "0x" hexadecimal number, "inf", "infinity" or "nan"; no number gives 0. Too large magnitudes
// give an infinity, too small ones 0, both with the sign. Correctly rounded.
double ReadDouble(const char* p, const char* end);

// Local calendar time of a file's time line.
struct CalendarTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// 100-ns units since 1 January 1601 (the file-time scale) of a time with milliseconds 0; nullopt
// when a field is out of range (year 1601..30827, a day that exists in its month, hour 0..23,
// minute and second 0..59), as the platform's conversion refuses such times.
[[nodiscard]] std::optional<uint64_t> FileTimeOf(const CalendarTime& t);

// File-time units per sample (10 ms).
constexpr uint64_t kFileTimePerSample = 100000;

}  // namespace files
