// Why a file could not be opened or read, and the text the operator is shown for it.
#pragma once

#include <string>

namespace files {

// The causes a file operation reports; the operator sees FileErrorText of one of them.
enum class FileErrorCause {
    None,
    Generic,           // unspecified
    FileNotFound,
    BadPath,
    TooManyOpenFiles,
    AccessDenied,
    InvalidFile,       // invalid file handle
    RemoveCurrentDir,
    DirectoryFull,
    BadSeek,
    HardIO,
    SharingViolation,
    LockViolation,
    DiskFull,
    EndOfFile,         // read past the end of the file
};

// The message for `cause` with every "%1" replaced by `path`.
[[nodiscard]] std::string FileErrorText(FileErrorCause cause, const std::string& path);

}  // namespace files
