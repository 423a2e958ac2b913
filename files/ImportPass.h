// The two passes both importers make over a file: the first counts the samples so the buffers
// are allocated once at their final size, the second reads them.
#pragma once

#include <algorithm>
#include <new>
#include <stdexcept>

#include "files/ImportResult.h"
#include "files/LineReader.h"

namespace files::detail {

// Reads every line of the source and hands it to onLine, which returns false to stop early.
// `pass` is 0 or 1 and places this pass in the progress reports. Returns the read error, if any.
template <class OnLine>
FileErrorCause RunPass(ByteSource& source, const ImportOptions& options, int pass, OnLine&& onLine) {
    const uint64_t size = source.Size();
    std::function<void(uint64_t)> onRead;
    if (options.progress) {
        onRead = [&options, size, pass](uint64_t bytes) {
            options.progress(static_cast<uint64_t>(pass) * size + (bytes < size ? bytes : size), 2 * size);
        };
    }
    LineReader reader(source, options.blockSize, options.maxLine, std::move(onRead));
    Line line;
    while (reader.Next(line)) {
        if (!onLine(line)) return FileErrorCause::None;
    }
    return reader.Error();
}

// Sets up the result for the second pass: back to the start, and room for `count` samples.
// False with the result's status set when that fails.
inline bool PrepareSecondPass(ByteSource& source, uint64_t count, const ImportOptions& options, ImportResult& result) {
    if (count > options.maxSamples) {
        result.status = ImportResult::Status::BufferError;
        return false;
    }
    const FileErrorCause rewind = source.Rewind();
    if (rewind != FileErrorCause::None) {
        result.status = ImportResult::Status::ReadError;
        result.readError = rewind;
        return false;
    }
    for (bool retried = false;; retried = true) {
        try {
            for (auto& axis : result.samples) axis.reserve(static_cast<size_t>(count));
            break;
        } catch (const std::bad_alloc&) {
            for (auto& axis : result.samples) std::vector<double>().swap(axis);
            if (!retried && options.releaseMemory && options.releaseMemory()) continue;
        } catch (const std::length_error&) {
            for (auto& axis : result.samples) std::vector<double>().swap(axis);
        }
        result.status = ImportResult::Status::BufferError;
        return false;
    }
    return true;
}

// A failed read: nothing that was read is kept.
inline void SetReadError(ImportResult& result, FileErrorCause error) {
    result.status = ImportResult::Status::ReadError;
    result.readError = error;
    for (auto& axis : result.samples) std::vector<double>().swap(axis);
}

// Where the second pass puts its samples.
class SampleSink {
public:
    SampleSink(ImportResult& result, uint64_t maxSamples) : result_(result), maxSamples_(maxSamples) {}

    // Appends one sample to the three axes; false (and nothing appended) when the result is full
    // or memory runs out. The axes keep equal lengths.
    bool Add(const double (&v)[3]) {
        auto& s = result_.samples;
        if (s[0].size() >= maxSamples_) {
            full_ = true;
            return false;
        }
        try {
            s[0].push_back(v[0]);
            s[1].push_back(v[1]);
            s[2].push_back(v[2]);
        } catch (const std::bad_alloc&) {
            const size_t n = std::min(s[0].size(), s[1].size());
            for (auto& axis : s) axis.resize(std::min(axis.size(), n));
            full_ = true;
            return false;
        }
        return true;
    }

    // Ends the second pass with its read error, or a full result.
    void Finish(FileErrorCause error) {
        if (error != FileErrorCause::None) SetReadError(result_, error);
        else if (full_) result_.status = ImportResult::Status::BufferError;
    }

private:
    ImportResult& result_;
    uint64_t maxSamples_;
    bool full_ = false;
};

}  // namespace files::detail
