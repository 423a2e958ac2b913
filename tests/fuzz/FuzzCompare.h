// Shared checks of the import fuzzers: two imports of the same bytes must agree exactly.
#pragma once

#include <cstdlib>
#include <cstring>

#include "files/ImportResult.h"

namespace fuzz {

inline void Check(bool condition) {
    if (!condition) std::abort();
}

// Same status, cause, time and samples bit for bit (so NaN equals NaN).
inline void CheckSame(const files::ImportResult& a, const files::ImportResult& b) {
    Check(a.status == b.status);
    Check(a.readError == b.readError);
    Check(a.baseTime == b.baseTime);
    for (int axis = 0; axis < 3; ++axis) {
        Check(a.samples[axis].size() == b.samples[axis].size());
        Check(a.samples[axis].empty() ||
              std::memcmp(a.samples[axis].data(), b.samples[axis].data(), a.samples[axis].size() * sizeof(double)) == 0);
    }
}

inline void CheckShape(const files::ImportResult& r) {
    Check(r.samples[0].size() == r.samples[1].size() && r.samples[1].size() == r.samples[2].size());
    if (r.status != files::ImportResult::Status::Loaded) Check(r.samples[0].empty() || r.status == files::ImportResult::Status::BufferError);
}

// Options from the first two bytes: blocks of 1 to 16 bytes or up to 8 KiB, and a line limit,
// that move every boundary.
inline files::ImportOptions SmallOptions(const unsigned char* data) {
    files::ImportOptions o;
    o.blockSize = data[0] < 128 ? 1 + data[0] % 16 : 64 * (data[0] - 127);
    o.maxLine = 32 + data[1] % 96;
    return o;
}

}  // namespace fuzz
