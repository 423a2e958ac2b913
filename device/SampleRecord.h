// One three-axis sample as received from the recorder, before conversion to gal.
#pragma once

#include <cstdint>

struct SampleRecord {
    int32_t x = 0;  // X-axis AD count minus the format's mid-scale offset (2048 or 32768)
    int32_t y = 0;
    int32_t z = 0;
};

inline bool operator==(const SampleRecord& a, const SampleRecord& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
inline bool operator!=(const SampleRecord& a, const SampleRecord& b) { return !(a == b); }
