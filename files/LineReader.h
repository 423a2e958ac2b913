// Splits a byte source into lines, block by block, without copying lines that lie inside a block.
//
// Line ends: the first line end within the first kModeWindow bytes decides the file's style. When
// it is a run of carriage returns that no line feed follows, lines end at a carriage return (as
// some editors save them); otherwise lines end at a line feed, and one carriage return directly
// before it (or at the very end of the data) is removed. A line end at the end of the data does
// not start another line.
//
// Long lines: a line longer than maxLine bytes is delivered with its first maxLine bytes and
// `truncated` set; the rest of it is skipped, so memory stays bounded whatever the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "files/ByteSource.h"

namespace files {

struct Line {
    const char* text = nullptr;  // valid until the next call of Next
    size_t size = 0;             // bytes in text, without the line end
    bool truncated = false;      // the line was longer than maxLine; text holds its beginning
};

class LineReader {
public:
    static constexpr size_t kModeWindow = 4096;
    static constexpr size_t kMinLine = 32;

    // blockSize: bytes asked of the source per read; maxLine is raised to at least kMinLine.
    // onRead, when set, is called after every read with the bytes read so far.
    LineReader(ByteSource& source, size_t blockSize, size_t maxLine,
               std::function<void(uint64_t)> onRead = nullptr);

    // The next line; false at the end of the data or when a read failed (see Error).
    bool Next(Line& line) {
        if (!truncating_ && pos_ < end_) {
            const char* p = buf_.data() + pos_;
            const void* t = std::memchr(p, term_, end_ - pos_);
            if (t) {
                size_t size = static_cast<size_t>(static_cast<const char*>(t) - p);
                const size_t next = pos_ + size + 1;
                if (term_ == '\n' && size && p[size - 1] == '\r') --size;
                if (size <= maxLine_) {
                    line = {p, size, false};
                    pos_ = next;
                    return true;
                }
            }
        }
        return NextSlow(line);
    }

    FileErrorCause Error() const { return error_; }
    uint64_t BytesRead() const { return bytesRead_; }
    bool CarriageReturnLines() const { return term_ == '\r'; }

private:
    bool NextSlow(Line& line);
    bool Fill();            // reads one block behind end_; false at the end or on an error
    void DecideLineEnds();  // once, from the first bytes
    void Compact();         // moves the partial line to the front, truncating it when too long

    ByteSource& source_;
    size_t blockSize_;
    size_t maxLine_;
    std::function<void(uint64_t)> onRead_;
    std::vector<char> buf_;
    // invariant: pos_ <= end_ <= buf_.size(); [pos_, end_) is unconsumed and holds no complete line
    // once NextSlow has been asked for one
    size_t pos_ = 0;
    size_t end_ = 0;
    char term_ = '\n';
    bool started_ = false;
    bool eof_ = false;
    FileErrorCause error_ = FileErrorCause::None;
    uint64_t bytesRead_ = 0;
    // A line longer than maxLine_: its first maxLine_ bytes are at buf_[0..maxLine_), the bytes
    // after them that were already scanned are dropped; lastDropped_ is the last one of those.
    bool truncating_ = false;
    char lastDropped_ = 0;
};

}  // namespace files
