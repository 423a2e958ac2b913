// CreateDirectoryA, CreateFileA and WriteFile behind the waveform writer.
#include "files/Win32WaveFileSystem.h"

#include <windows.h>

namespace files {

namespace {

class Win32WaveFile : public WaveFileHandle {
public:
    explicit Win32WaveFile(HANDLE file) : file_(file) {}
    ~Win32WaveFile() override { CloseHandle(file_); }
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
};

}  // namespace

WaveFileSystem::FolderResult Win32WaveFileSystem::CreateFolder(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return FolderResult::Created;
    return GetLastError() == ERROR_ALREADY_EXISTS ? FolderResult::Existed : FolderResult::Failed;
}

std::unique_ptr<WaveFileHandle> Win32WaveFileSystem::OpenForAppend(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32WaveFile>(file);
}

WaveClock Win32WaveFileSystem::LocalNow() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace files
