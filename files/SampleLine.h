// Sample lines of the waveform files: every value exactly as C's "%f" writes it, in every build,
// without going through the C library's printf.
#pragma once

#include <cstddef>

namespace files {

// Longest "%f" text of a double: sign, 309 integer digits, point, six decimals.
inline constexpr size_t kFixedMaxChars = 320;
// Longest sample line: three values, two commas, CR LF.
inline constexpr size_t kSampleLineMaxChars = 3 * kFixedMaxChars + 4;

// Writes "%f" of `value` (six decimals, correctly rounded, "-" for negatives and -0.0, "nan" and
// "inf" like the C library) at `out`, which has room for kFixedMaxChars; no terminator. Returns the
// end of the text.
char* FormatFixed(char* out, double value);

// Writes "x,y,z" and CR LF at `out` (room for kSampleLineMaxChars); returns the end of the line.
char* FormatSampleLine(char* out, double x, double y, double z);

}  // namespace files
