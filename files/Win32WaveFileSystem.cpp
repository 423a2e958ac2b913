// CreateDirectoryA, CreateFileA and WriteFile behind the waveform writer.
#include "files/Win32WaveFileSystem.h"

#include <windows.h>

#include <utility>

namespace files {

namespace {

class Win32WaveFile : public WaveFileHandle {
public:
    Win32WaveFile(HANDLE file, std::set<std::string>& held, std::string path)
        : file_(file), held_(held), path_(std::move(path)) {
        held_.insert(path_);
    }
    ~Win32WaveFile() override {
        CloseHandle(file_);
        held_.erase(path_);
    }
    Win32WaveFile(const Win32WaveFile&) = delete;
    Win32WaveFile& operator=(const Win32WaveFile&) = delete;

    bool Append(const char* data, size_t size) override {
        LARGE_INTEGER zero{};
        LARGE_INTEGER before{};
        if (!SetFilePointerEx(file_, zero, &before, FILE_END)) return false;
        while (size > 0) {
            const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
            DWORD written = 0;
            if (!WriteFile(file_, data, chunk, &written, nullptr) || written == 0) {
                // A full disk may have taken part of the data: cut back to whole lines.
                SetFilePointerEx(file_, before, nullptr, FILE_BEGIN);
                SetEndOfFile(file_);
                return false;
            }
            data += written;
            size -= written;
        }
        return true;
    }

private:
    HANDLE file_;
    std::set<std::string>& held_;
    std::string path_;
};

HANDLE OpenAlways(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

}  // namespace

WaveFileSystem::FolderResult Win32WaveFileSystem::CreateFolder(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return FolderResult::Created;
    return GetLastError() == ERROR_ALREADY_EXISTS ? FolderResult::Existed : FolderResult::Failed;
}

std::unique_ptr<WaveFileHandle> Win32WaveFileSystem::OpenForAppend(const std::string& path) {
    HANDLE file = OpenAlways(path);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32WaveFile>(file, held_, path);
}

WaveFileSystem::NewFile Win32WaveFileSystem::OpenNew(const std::string& path) {
    NewFile result;
    if (held_.count(path)) {
        result.taken = true;
        return result;
    }
    // Opened as before, so a file that another program holds still cannot be opened; one that
    // exists is left as it was.
    HANDLE file = OpenAlways(path);
    if (file == INVALID_HANDLE_VALUE) return result;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(file);
        result.taken = true;
        return result;
    }
    result.file = std::make_unique<Win32WaveFile>(file, held_, path);
    return result;
}

WaveClock Win32WaveFileSystem::LocalNow() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace files
