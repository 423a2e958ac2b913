// What an import of a waveform file yields, and the knobs shared by both importers.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "files/FileErrorText.h"

namespace files {

struct ImportOptions {
    size_t blockSize = size_t{1} << 20;  // bytes per read
    size_t maxLine = size_t{64} << 10;   // longer lines are cut to this many bytes
    // Samples an import may hold; more give BufferError (the rings count samples in an int).
    uint64_t maxSamples = INT_MAX;
    // Called after every block with the bytes done and the bytes to do over both passes
    // (total 0 when the size is unknown).
    std::function<void(uint64_t done, uint64_t total)> progress;
    // Called when the buffers for the counted samples cannot be allocated: frees memory the caller
    // can do without and returns true when it freed some; the allocation is then tried once more.
    std::function<bool()> releaseMemory;
};

struct ImportResult {
    enum class Status {
        Loaded,       // the file was read to its end
        NoDataLine,   // a CSV file without a "DATA:" line, or ending before its two column lines
        ReadError,    // reading failed (readError says why); nothing is loaded
        BufferError,  // the samples could not be held (memory, or more than maxSamples)
    };
    Status status = Status::Loaded;
    FileErrorCause readError = FileErrorCause::None;
    std::vector<double> samples[3];  // X, Y, Z in gal, oldest first; equal lengths
    // Local time of sample 0 in 100-ns units since 1601 (file-time scale); 0 when the file states
    // no valid time.
    uint64_t baseTime = 0;
};

// An import of one file: why it could not be opened, or what reading it gave.
struct FileImport {
    FileErrorCause openError = FileErrorCause::None;  // the file could not be opened
    ImportResult result;                              // meaningful when openError is None
};

}  // namespace files
