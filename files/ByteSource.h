// Where an import reads its bytes from: a file in the program, a string in tests, benchmarks and
// fuzzers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "files/FileErrorText.h"

namespace files {

class ByteSource {
public:
    struct Chunk {
        size_t count = 0;                              // bytes read; 0 without error: the end
        FileErrorCause error = FileErrorCause::None;   // the read failed (count is then 0)
    };

    virtual ~ByteSource() = default;
    // Reads up to `capacity` bytes (capacity > 0) into `buffer`.
    virtual Chunk Read(char* buffer, size_t capacity) = 0;
    // Goes back to the first byte, for a second pass.
    virtual FileErrorCause Rewind() = 0;
    // Size in bytes when known (for progress), else 0.
    virtual uint64_t Size() const = 0;
};

// Bytes held in memory; the view must outlive the source.
class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    Chunk Read(char* buffer, size_t capacity) override {
        const size_t n = capacity < bytes_.size() - at_ ? capacity : bytes_.size() - at_;
        if (n) std::memcpy(buffer, bytes_.data() + at_, n);
        at_ += n;
        return {n, FileErrorCause::None};
    }
    FileErrorCause Rewind() override {
        at_ = 0;
        return FileErrorCause::None;
    }
    uint64_t Size() const override { return bytes_.size(); }

private:
    std::string_view bytes_;
    size_t at_ = 0;
};

}  // namespace files
