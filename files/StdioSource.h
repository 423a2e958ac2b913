// A file as a byte source through the C library, in every build; the trigger history reads its
// files this way on its worker thread.
#pragma once

#include <atomic>
#include <cstdio>
#include <string>

#include "files/ByteSource.h"

namespace files {

class StdioSource : public ByteSource {
public:
    // Opens `path` for reading; Ok() tells whether that worked. While `cancel` is set, every read
    // fails, so a long import stops at its next block.
    StdioSource(const std::string& path, const std::atomic<bool>& cancel);
    ~StdioSource() override;
    StdioSource(const StdioSource&) = delete;
    StdioSource& operator=(const StdioSource&) = delete;

    bool Ok() const { return file_ != nullptr; }
    Chunk Read(char* buffer, size_t capacity) override;
    FileErrorCause Rewind() override;
    uint64_t Size() const override { return size_; }

private:
    std::FILE* file_ = nullptr;
    uint64_t size_ = 0;
    const std::atomic<bool>& cancel_;
};

}  // namespace files
