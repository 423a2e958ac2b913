// A waveform CSV recording of the program (manual or trigger, its split parts joined) as one
// miniSEED file beside it: the values exactly as the CSV holds them, as 64-bit floats in gal, in
// 512-byte records of the three channels, timed from the DATE_MAKE header. Unlike the import, the
// export reads strictly: a file that is not one the program writes, or that is cut short, is
// refused with the file and line, and nothing is written.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "files/FileErrorText.h"
#include "seed/Archive.h"
#include "seed/ArchiveFiles.h"

namespace seed {

struct ExportResult {
    enum class Status {
        Written,
        NotOurs,      // a line that the program does not write (file, line)
        Truncated,    // the file ends inside its header or inside a line (file, line)
        NoSamples,    // headers only
        ReadFailed,   // a part could not be opened or read (file, cause)
        WriteFailed,  // the miniSEED file could not be written (output); nothing is left of it
    };
    Status status = Status::Written;
    std::string file;    // the CSV file concerned
    uint64_t line = 0;   // 1-based line in `file`
    files::FileErrorCause cause = files::FileErrorCause::None;
    std::string output;  // the miniSEED file: "<first part without .csv>.mseed"
    uint64_t samples = 0;  // per channel
    int segments = 0;      // recordings found (two trigger recordings can share a file)
};

// A local time of the platform's file-time scale as UTC, or none when it does not exist.
using LocalToUtc = std::function<std::optional<Ticks>(uint64_t localFileTime)>;

// The recording's first file for any of its files ("X-2.csv" gives "X.csv" when that exists).
[[nodiscard]] std::string FirstPart(const std::string& chosen, ArchiveFiles& files);

// Reads the recording that `chosen` belongs to and writes its miniSEED file.
[[nodiscard]] ExportResult ExportCsv(const std::string& chosen, ArchiveFiles& files, const ArchiveCodes& codes,
                                     const LocalToUtc& toUtc);

// The operator's message for a result (code page 932).
[[nodiscard]] std::string ExportMessage(const ExportResult& result);

}  // namespace seed
