// Reading an import's file with the Win32 file functions.
#include "files/Win32ImportFile.h"

#include <algorithm>

#include "files/CsvImport.h"

namespace files {

FileErrorCause FileErrorCauseFromWin32(DWORD error) {
    switch (error) {
    case NO_ERROR:
        return FileErrorCause::None;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_NO_MORE_FILES:
    case ERROR_OPEN_FAILED:
    case ERROR_DISK_CHANGE:
        return FileErrorCause::FileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_SAME_DEVICE:
    case ERROR_WRONG_DISK:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
    case ERROR_BUFFER_OVERFLOW:
        return FileErrorCause::BadPath;
    case ERROR_TOO_MANY_OPEN_FILES:
    case ERROR_SHARING_BUFFER_EXCEEDED:
    case ERROR_NO_MORE_SEARCH_HANDLES:
        return FileErrorCause::TooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_INVALID_ACCESS:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_NETNAME_DELETED:
    case ERROR_BUSY:
        return FileErrorCause::AccessDenied;
    case ERROR_INVALID_HANDLE:
    case ERROR_BAD_FORMAT:
    case ERROR_NOT_DOS_DISK:
    case ERROR_INVALID_TARGET_HANDLE:
        return FileErrorCause::InvalidFile;
    case ERROR_CURRENT_DIRECTORY:
    case ERROR_DIR_NOT_EMPTY:
        return FileErrorCause::RemoveCurrentDir;
    case ERROR_NO_SPOOL_SPACE:
        return FileErrorCause::DirectoryFull;
    case ERROR_SEEK:
    case ERROR_BAD_LENGTH:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_READ_FAULT:
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE:
        return FileErrorCause::BadSeek;
    case ERROR_BAD_UNIT:
    case ERROR_NOT_READY:
    case ERROR_BAD_COMMAND:
    case ERROR_CRC:
    case ERROR_GEN_FAILURE:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
    case ERROR_IO_DEVICE:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NET_WRITE_FAULT:
    case ERROR_OPERATION_ABORTED:
        return FileErrorCause::HardIO;
    case ERROR_SHARING_VIOLATION:
        return FileErrorCause::SharingViolation;
    case ERROR_LOCK_VIOLATION:
    case ERROR_LOCK_FAILED:
    case ERROR_DRIVE_LOCKED:
        return FileErrorCause::LockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileErrorCause::DiskFull;
    case ERROR_HANDLE_EOF:
        return FileErrorCause::EndOfFile;
    default:
        return FileErrorCause::Generic;
    }
}

Win32FileSource::~Win32FileSource() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

FileErrorCause Win32FileSource::Open(const std::string& path) {
    file_ = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) {
        const FileErrorCause cause = FileErrorCauseFromWin32(GetLastError());
        return cause == FileErrorCause::None ? FileErrorCause::Generic : cause;
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file_, &size)) size_ = static_cast<uint64_t>(size.QuadPart);
    return FileErrorCause::None;
}

ByteSource::Chunk Win32FileSource::Read(char* buffer, size_t capacity) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(capacity, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(file_, buffer, want, &got, nullptr)) {
        const DWORD error = GetLastError();
        // A read at the end of the file is the end, not an error.
        if (error == ERROR_HANDLE_EOF) return {0, FileErrorCause::None};
        const FileErrorCause cause = FileErrorCauseFromWin32(error);
        return {0, cause == FileErrorCause::None ? FileErrorCause::Generic : cause};
    }
    return {got, FileErrorCause::None};
}

FileErrorCause Win32FileSource::Rewind() {
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(file_, zero, nullptr, FILE_BEGIN)) return FileErrorCauseFromWin32(GetLastError());
    return FileErrorCause::None;
}

FileImport ReadImportFile(const std::string& path, bool sd, const SdConversion& conversion,
                          const ImportOptions& options) {
    FileImport out;
    Win32FileSource file;
    out.openError = file.Open(path);
    if (out.openError != FileErrorCause::None) return out;
    out.result = sd ? ImportSd(file, conversion, options) : ImportCsv(file, options);
    return out;
}

}  // namespace files
