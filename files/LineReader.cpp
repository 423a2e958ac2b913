// Line splitting over blocks: the refill, the truncation of long lines and the line ends.
#include "files/LineReader.h"

#include <algorithm>

namespace files {

namespace {

// The first carriage return or line feed in [p, end), or null.
const char* FindLineEnd(const char* p, const char* end) {
    const void* lf = std::memchr(p, '\n', static_cast<size_t>(end - p));
    const char* stop = lf ? static_cast<const char*>(lf) : end;
    const void* cr = std::memchr(p, '\r', static_cast<size_t>(stop - p));
    return cr ? static_cast<const char*>(cr) : static_cast<const char*>(lf);
}

}  // namespace

LineReader::LineReader(ByteSource& source, size_t blockSize, size_t maxLine, std::function<void(uint64_t)> onRead)
    : source_(source),
      blockSize_(std::max<size_t>(blockSize, 1)),
      maxLine_(std::max(maxLine, kMinLine)),
      onRead_(std::move(onRead)) {
    // Room for a partial line of maxLine_ + 1 bytes (the byte after a line that fits is its line
    // end) plus one block.
    buf_.resize(maxLine_ + 1 + blockSize_);
}

bool LineReader::Fill() {
    if (eof_ || error_ != FileErrorCause::None) return false;
    const size_t want = std::min(buf_.size() - end_, blockSize_);
    const ByteSource::Chunk chunk = source_.Read(buf_.data() + end_, want);
    if (chunk.error != FileErrorCause::None) {
        error_ = chunk.error;
        return false;
    }
    if (chunk.count == 0) {
        eof_ = true;
        return false;
    }
    end_ += std::min(chunk.count, want);
    bytesRead_ += std::min(chunk.count, want);
    if (onRead_) onRead_(bytesRead_);
    return true;
}

void LineReader::Compact() {
    char* b = buf_.data();
    if (truncating_) {
        // Everything after the kept head has been scanned and holds no line end.
        end_ = maxLine_;
        return;
    }
    if (pos_ > 0) {
        std::memmove(b, b + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    // No line end among these bytes: more than maxLine_ of them make a line that is cut.
    if (end_ > maxLine_) {
        truncating_ = true;
        end_ = maxLine_;
    }
}

bool LineReader::SettleCarriageReturns() {
    const char* b = buf_.data();
    while (pos_ < end_ && b[pos_] == '\r') {
        ++pos_;
        ++pendingCr_;
    }
    if (pos_ == end_ && !eof_) return false;
    if (pos_ < end_ && b[pos_] == '\n') {
        ++pos_;
        pendingCr_ = 0;
    }
    emptyLines_ = pendingCr_;
    pendingCr_ = 0;
    afterCr_ = false;
    return true;
}

void LineReader::EndAtCarriageReturn() {
    afterCr_ = true;
    // Settled at once where the bytes after it are at hand (a CR LF most of the time), so the
    // next line can take the fast path.
    SettleCarriageReturns();
}

bool LineReader::NextSlow(Line& line) {
    if (!started_) {
        started_ = true;
        while (end_ < 3 && Fill()) {
        }
        if (error_ != FileErrorCause::None) return false;
        if (end_ >= 3 && std::memcmp(buf_.data(), "\xEF\xBB\xBF", 3) == 0) pos_ = 3;
    }
    for (;;) {
        char* b = buf_.data();
        if (afterCr_ && !SettleCarriageReturns()) {
            if (error_ != FileErrorCause::None) return false;
            Compact();
            Fill();
            continue;
        }
        if (emptyLines_ > 0) {
            --emptyLines_;
            line = {b, 0, false};
            return true;
        }
        if (truncating_) {
            if (const char* t = FindLineEnd(b + maxLine_, b + end_)) {
                pos_ = static_cast<size_t>(t - b) + 1;
                truncating_ = false;
                if (*t == '\r') EndAtCarriageReturn();
                line = {b, maxLine_, true};
                return true;
            }
        } else if (pos_ < end_) {
            const char* p = b + pos_;
            if (const char* t = FindLineEnd(p, b + end_)) {
                const size_t size = static_cast<size_t>(t - p);
                pos_ += size + 1;
                if (*t == '\r') EndAtCarriageReturn();
                line = {p, std::min(size, maxLine_), size > maxLine_};
                return true;
            }
        }
        if (eof_) {
            if (truncating_) {
                truncating_ = false;
                pos_ = end_;
                line = {b, maxLine_, true};
                return true;
            }
            if (pos_ < end_) {
                const char* p = b + pos_;
                const size_t size = end_ - pos_;
                pos_ = end_;
                line = {p, std::min(size, maxLine_), size > maxLine_};
                return true;
            }
            return false;
        }
        if (error_ != FileErrorCause::None) return false;
        Compact();
        Fill();
    }
}

}  // namespace files
