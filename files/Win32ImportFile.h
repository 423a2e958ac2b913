// An import's file on Windows: opened for reading while others may read and write it, read in
// blocks, errors turned into the causes the operator's message names (Win32 only).
#pragma once

#include <windows.h>

#include <string>

#include "files/ByteSource.h"
#include "files/ImportResult.h"
#include "files/SdImport.h"

namespace files {

// The cause the operator is told for a Win32 error code of a file operation.
[[nodiscard]] FileErrorCause FileErrorCauseFromWin32(DWORD error);

class Win32FileSource : public ByteSource {
public:
    Win32FileSource() = default;
    ~Win32FileSource() override;
    Win32FileSource(const Win32FileSource&) = delete;
    Win32FileSource& operator=(const Win32FileSource&) = delete;

    // Opens `path` for reading, sharing reading and writing; the cause when that fails.
    FileErrorCause Open(const std::string& path);

    Chunk Read(char* buffer, size_t capacity) override;
    FileErrorCause Rewind() override;
    uint64_t Size() const override { return size_; }

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    uint64_t size_ = 0;
};

// Opens and reads a whole CSV (sd false) or SD-card file (sd true).
[[nodiscard]] FileImport ReadImportFile(const std::string& path, bool sd, const SdConversion& conversion,
                                        const ImportOptions& options);

}  // namespace files
