// Reading a waveform CSV file (six header lines, then "X,Y,Z" lines in gal) back into samples.
#pragma once

#include "files/ByteSource.h"
#include "files/ImportResult.h"

namespace files {

// Reads the whole source. Header: every line before the line that is exactly "DATA:" is ignored
// except "DATE_MAKE:YYYY.MM.DD_hh:mm:ss" lines, whose fields (read like atoi at fixed positions)
// give baseTime; a later valid one replaces an earlier one, one with impossible fields is
// ignored. The two lines after "DATA:" are skipped. Every further line is one sample: its first
// three comma-separated fields are X, Y and Z (read like atof); axes a short line lacks keep the
// previous sample's values (0 before the first), and an empty line repeats the previous sample.
// Lines longer than options.maxLine are read up to that length.
[[nodiscard]] ImportResult ImportCsv(ByteSource& source, const ImportOptions& options = {});

}  // namespace files
