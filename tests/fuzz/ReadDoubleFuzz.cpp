// Fuzzes the atof-like field reader against the C library's strtod (which rounds correctly here).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/ImportFields.h"
#include "tests/fuzz/FuzzCompare.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double ours = files::ReadDouble(text.data(), text.data() + text.size());
    // strtod stops at a zero byte; the field reader does not know about them.
    const double theirs = std::strtod(text.c_str(), nullptr);
    if (text.find('\0') != std::string::npos) return 0;
    fuzz::Check((std::isnan(ours) && std::isnan(theirs)) ||
                (ours == theirs && std::signbit(ours) == std::signbit(theirs)));
    return 0;
}
