// Line splitting over blocks: the refill, the truncation of long lines and the line-end style.
#include "files/LineReader.h"

#include <algorithm>

namespace files {

LineReader::LineReader(ByteSource& source, size_t blockSize, size_t maxLine, std::function<void(uint64_t)> onRead)
    : source_(source),
      blockSize_(std::max<size_t>(blockSize, 1)),
      maxLine_(std::max(maxLine, kMinLine)),
      onRead_(std::move(onRead)) {
    // Room for a partial line of maxLine_ + 1 bytes (a carriage return may still lose its line
    // feed), or for the line-end window, plus one block.
    buf_.resize(std::max(maxLine_ + 1, kModeWindow + 1) + blockSize_);
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

void LineReader::DecideLineEnds() {
    // The window is the same whatever the block size: the first kModeWindow + 1 bytes.
    const size_t available = std::min(end_, kModeWindow + 1);
    const bool wholeData = end_ <= kModeWindow + 1;
    const char* b = buf_.data();
    term_ = '\n';
    for (size_t i = 0; i < available && i < kModeWindow; ++i) {
        if (b[i] == '\n') return;
        if (b[i] == '\r') {
            size_t j = i;
            while (j < available && b[j] == '\r') ++j;
            if (j < available ? b[j] != '\n' : wholeData) term_ = '\r';
            return;
        }
    }
}

void LineReader::Compact() {
    char* b = buf_.data();
    if (truncating_) {
        // Everything after the kept head has been scanned and holds no line end.
        if (end_ > maxLine_) lastDropped_ = b[end_ - 1];
        end_ = maxLine_;
        return;
    }
    if (pos_ > 0) {
        std::memmove(b, b + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    // One byte over the limit may still be the carriage return of a line that fits.
    const bool mayFit = end_ == maxLine_ + 1 && term_ == '\n' && b[maxLine_] == '\r';
    if (end_ > maxLine_ && !mayFit) {
        truncating_ = true;
        lastDropped_ = b[end_ - 1];
        end_ = maxLine_;
    }
}

bool LineReader::NextSlow(Line& line) {
    if (!started_) {
        started_ = true;
        while (end_ < kModeWindow + 1 && Fill()) {
        }
        if (error_ != FileErrorCause::None) return false;
        DecideLineEnds();
    }
    for (;;) {
        char* b = buf_.data();
        if (truncating_) {
            const void* t = std::memchr(b + maxLine_, term_, end_ - maxLine_);
            if (t) {
                pos_ = static_cast<size_t>(static_cast<const char*>(t) - b) + 1;
                truncating_ = false;
                line = {b, maxLine_, true};
                return true;
            }
        } else if (pos_ < end_) {
            const char* p = b + pos_;
            const void* t = std::memchr(p, term_, end_ - pos_);
            if (t) {
                size_t size = static_cast<size_t>(static_cast<const char*>(t) - p);
                pos_ += size + 1;
                if (term_ == '\n' && size && p[size - 1] == '\r') --size;
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
                size_t size = end_ - pos_;
                pos_ = end_;
                // A carriage return that ends the data ends its line too.
                if (term_ == '\n' && p[size - 1] == '\r') --size;
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
