// Byte sources with faults, for the importer tests.
#pragma once

#include <algorithm>
#include <string>

#include "files/ByteSource.h"

namespace files::test {

// Serves `bytes` in reads of at most `step` bytes; the read that would pass `failAt` fails
// with `cause` instead, in every pass or only in pass `failPass` (0 first, 1 after a rewind).
class FaultySource : public ByteSource {
public:
    FaultySource(std::string bytes, size_t step, size_t failAt = std::string::npos,
                 FileErrorCause cause = FileErrorCause::HardIO, int failPass = -1)
        : bytes_(std::move(bytes)), step_(step), failAt_(failAt), cause_(cause), failPass_(failPass) {}
    Chunk Read(char* buffer, size_t capacity) override {
        size_t n = std::min({capacity, step_, bytes_.size() - at_});
        if (at_ + n > failAt_ && (failPass_ < 0 || failPass_ == pass_)) return {0, cause_};
        bytes_.copy(buffer, n, at_);
        at_ += n;
        return {n, FileErrorCause::None};
    }
    FileErrorCause Rewind() override {
        at_ = 0;
        ++pass_;
        return FileErrorCause::None;
    }
    uint64_t Size() const override { return bytes_.size(); }

private:
    std::string bytes_;
    size_t step_, failAt_;
    FileErrorCause cause_;
    int failPass_;
    int pass_ = 0;
    size_t at_ = 0;
};

}  // namespace files::test
