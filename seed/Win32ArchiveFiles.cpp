// Appends with cut-back, folders, pending files and the local-to-UTC conversion on Win32.
#include "seed/Win32ArchiveFiles.h"

#include <windows.h>

#include "files/Folder.h"
#include "files/Win32ImportFile.h"

namespace seed {

namespace {

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
    void Close() {
        if (ok()) CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_;
};

bool IsFolder(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteAll(HANDLE file, const uint8_t* bytes, size_t count) {
    while (count > 0) {
        const DWORD chunk = count > (1u << 30) ? (1u << 30) : static_cast<DWORD>(count);
        DWORD written = 0;
        if (!WriteFile(file, bytes, chunk, &written, nullptr) || written == 0) return false;
        bytes += written;
        count -= written;
    }
    return true;
}

class Win32PendingFile : public PendingFile {
public:
    Win32PendingFile(HANDLE file, std::string temp, std::string path)
        : file_(file), temp_(std::move(temp)), path_(std::move(path)) {}
    ~Win32PendingFile() override {
        if (committed_) return;
        file_.Close();
        DeleteFileA(temp_.c_str());
    }
    bool Write(const uint8_t* bytes, size_t count) override { return WriteAll(file_.get(), bytes, count); }
    bool Commit() override {
        const bool flushed = FlushFileBuffers(file_.get()) != 0;
        file_.Close();
        committed_ = flushed && MoveFileExA(temp_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
        return committed_;
    }

private:
    Handle file_;
    std::string temp_, path_;
    bool committed_ = false;
};

}  // namespace

FileResult Win32ArchiveFiles::Append(const std::string& path, const uint8_t* bytes, size_t count) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PATH_NOT_FOUND && MakeFolders(files::FolderOf(path))) {
        h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    Handle file(h);
    if (!file.ok()) return FileResult::OpenFailed;
    LARGE_INTEGER zero{}, end{};
    if (!SetFilePointerEx(file.get(), zero, &end, FILE_END)) return FileResult::WriteFailed;
    if (WriteAll(file.get(), bytes, count)) return FileResult::Ok;
    // Whole records only: what a failed write left is cut off again.
    SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN);
    SetEndOfFile(file.get());
    return FileResult::WriteFailed;
}

bool Win32ArchiveFiles::ReadTail(const std::string& path, uint8_t* out, size_t count) {
    Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file.ok() || !GetFileSizeEx(file.get(), &size) || size.QuadPart < static_cast<LONGLONG>(count)) return false;
    LARGE_INTEGER at{};
    at.QuadPart = size.QuadPart - static_cast<LONGLONG>(count);
    DWORD read = 0;
    return SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) &&
           ReadFile(file.get(), out, static_cast<DWORD>(count), &read, nullptr) && read == count;
}

std::unique_ptr<PendingFile> Win32ArchiveFiles::Create(const std::string& path) {
    const std::string temp = path + ".part";
    HANDLE h = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32PendingFile>(h, temp, path);
}

bool Win32ArchiveFiles::MakeFolders(const std::string& path) {
    if (path.empty() || IsFolder(path)) return true;
    const std::string parent = files::FolderOf(path);
    // A drive ("C:") or the share's root ends the climb.
    if (!parent.empty() && parent.back() != ':' && parent != path && !MakeFolders(parent)) return false;
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS || IsFolder(path);
}

std::unique_ptr<files::ByteSource> Win32ArchiveFiles::Open(const std::string& path) {
    auto source = std::make_unique<files::Win32FileSource>();
    if (source->Open(path) != files::FileErrorCause::None) return nullptr;
    return source;
}

bool Win32ArchiveFiles::Exists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<Ticks> LocalFileTimeToUtc(uint64_t localFileTime) {
    FILETIME local{static_cast<DWORD>(localFileTime), static_cast<DWORD>(localFileTime >> 32)};
    SYSTEMTIME localFields{}, utcFields{};
    FILETIME utc{};
    if (!FileTimeToSystemTime(&local, &localFields) ||
        !TzSpecificLocalTimeToSystemTime(nullptr, &localFields, &utcFields) || !SystemTimeToFileTime(&utcFields, &utc)) {
        return std::nullopt;
    }
    return TicksFromFileTime((static_cast<uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime);
}

}  // namespace seed
