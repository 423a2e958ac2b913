// Reading a recorder's SD-card file (one stream record per line, with "TM" time lines) into
// samples in gal.
#pragma once

#include <array>

#include "files/ByteSource.h"
#include "files/ImportResult.h"

namespace files {

// How AD values become gal: [SPEC] BIT (16, or anything else for 12) and the KANZAN factors.
struct SdConversion {
    int bit = 12;
    std::array<double, 3> kanzan{};
};

// Reads the whole source. Lines are classified by their length without the line end:
// 14 beginning "TM": a time line (two-digit fields from position 2: year in the century, month,
// day, hour, minute, second); other 14: a 12-bit sample (X, Y, Z from positions 0, 5, 10, minus
// 2048); 17: a 16-bit sample (positions 0, 6, 12, minus 32768); others are skipped. Numbers are
// read like atoi. 12-bit values are multiplied by KANZAN when BIT is 12 and taken as they are
// when it is 16; 16-bit values are multiplied by 0.125 when BIT is 12 and by KANZAN when it is
// 16. The last valid time line gives the time of the sample that follows it, so baseTime is that
// time less 10 ms for every sample before it; time lines with impossible fields are ignored.
[[nodiscard]] ImportResult ImportSd(ByteSource& source, const SdConversion& conversion,
                                    const ImportOptions& options = {});

}  // namespace files
