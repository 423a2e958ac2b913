// Splits a byte source into lines, block by block, without copying lines that lie inside a block.
//
// Line ends are decided line by line: a line ends at a line feed, at a carriage return and line
// feed, or at a carriage return that no line feed follows (some editors save CR-only lines). A run
// of carriage returns directly before a line feed is one line end (what a CR LF written through a
// text-mode layer once more becomes); a run that no line feed follows ends one line per carriage
// return. A line end at the end of the data does not start another line. A UTF-8 byte-order mark
// at the start of the data is not part of the first line.
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
    static constexpr size_t kMinLine = 32;

    // blockSize: bytes asked of the source per read; maxLine is raised to at least kMinLine.
    // onRead, when set, is called after every read with the bytes read so far.
    LineReader(ByteSource& source, size_t blockSize, size_t maxLine,
               std::function<void(uint64_t)> onRead = nullptr);

    // The next line; false at the end of the data or when a read failed (see Error).
    bool Next(Line& line) {
        if (!truncating_ && !afterCr_ && emptyLines_ == 0 && pos_ < end_) {
            // Most lines lie whole in the block and end in LF or CR LF.
            const char* p = buf_.data() + pos_;
            const void* t = std::memchr(p, '\n', end_ - pos_);
            if (t) {
                const size_t size = static_cast<size_t>(static_cast<const char*>(t) - p);
                size_t text = size;
                while (text > 0 && p[text - 1] == '\r') --text;
                if (text <= maxLine_ && !std::memchr(p, '\r', text)) {
                    line = {p, text, false};
                    pos_ += size + 1;
                    return true;
                }
            }
        }
        return NextSlow(line);
    }

    FileErrorCause Error() const { return error_; }
    uint64_t BytesRead() const { return bytesRead_; }

private:
    bool NextSlow(Line& line);
    bool Fill();     // reads one block behind end_; false at the end or on an error
    void Compact();  // moves the partial line to the front, truncating it when too long
    // After a line that ended at a carriage return: the carriage returns that follow and, when a
    // line feed ends them, that line feed belong to the same line end; otherwise each of them ends
    // an empty line. False while the data seen so far does not tell (more must be read).
    bool SettleCarriageReturns();
    // The line just found ended at the carriage return before pos_.
    void EndAtCarriageReturn();

    ByteSource& source_;
    size_t blockSize_;
    size_t maxLine_;
    std::function<void(uint64_t)> onRead_;
    std::vector<char> buf_;
    // invariant: pos_ <= end_ <= buf_.size(); [pos_, end_) is unconsumed and holds no complete line
    // once NextSlow has been asked for one
    size_t pos_ = 0;
    size_t end_ = 0;
    bool started_ = false;
    bool eof_ = false;
    FileErrorCause error_ = FileErrorCause::None;
    uint64_t bytesRead_ = 0;
    // A line longer than maxLine_: its first maxLine_ bytes are at buf_[0..maxLine_), the bytes
    // after them that were already scanned (none of them a line end) are dropped.
    bool truncating_ = false;
    bool afterCr_ = false;       // the last line ended at a carriage return
    uint64_t pendingCr_ = 0;     // carriage returns read after it, none followed by a line feed yet
    uint64_t emptyLines_ = 0;    // empty lines they turned out to end, still to be delivered
};

}  // namespace files
