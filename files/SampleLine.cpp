// Fixed six-decimal formatting through std::to_chars, which rounds exactly like printf's "%f".
#include "files/SampleLine.h"

#include <charconv>

namespace files {

char* FormatFixed(char* out, double value) {
    return std::to_chars(out, out + kFixedMaxChars, value, std::chars_format::fixed, 6).ptr;
}

char* FormatSampleLine(char* out, double x, double y, double z) {
    out = FormatFixed(out, x);
    *out++ = ',';
    out = FormatFixed(out, y);
    *out++ = ',';
    out = FormatFixed(out, z);
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

}  // namespace files
