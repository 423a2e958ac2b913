// Byte source over a C library file.
#include "files/StdioSource.h"

namespace files {

StdioSource::StdioSource(const std::string& path, const std::atomic<bool>& cancel) : cancel_(cancel) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) return;
    if (std::fseek(file_, 0, SEEK_END) == 0) {
        const long end = std::ftell(file_);
        size_ = end > 0 ? static_cast<uint64_t>(end) : 0;
    }
    std::rewind(file_);
}

StdioSource::~StdioSource() {
    if (file_) std::fclose(file_);
}

ByteSource::Chunk StdioSource::Read(char* buffer, size_t capacity) {
    if (!file_ || cancel_.load()) return {0, FileErrorCause::Generic};
    const size_t got = std::fread(buffer, 1, capacity, file_);
    if (got == 0 && std::ferror(file_)) return {0, FileErrorCause::HardIO};
    return {got, FileErrorCause::None};
}

FileErrorCause StdioSource::Rewind() {
    if (!file_) return FileErrorCause::InvalidFile;
    std::clearerr(file_);
    return std::fseek(file_, 0, SEEK_SET) == 0 ? FileErrorCause::None : FileErrorCause::BadSeek;
}

}  // namespace files
