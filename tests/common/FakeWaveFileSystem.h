// An in-memory file system for the waveform writer: files as byte strings, a settable clock, and
// faults to order (folders that cannot be made, files that cannot be opened, writes that fail).
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>

#include "files/WaveFile.h"

class FakeWaveFileSystem : public files::WaveFileSystem {
public:
    std::map<std::string, std::string> files;  // path -> bytes on "disk"
    std::set<std::string> folders;
    std::set<std::string> openPaths;           // files held open by a writer
    std::set<std::string> lockedPaths;         // files another program holds without sharing
    bool folderFails = false;
    long long spaceLeft = -1;                  // bytes that still fit on the disk; -1: no limit
    std::set<std::string> failingPaths;        // files whose writes fail
    files::WaveClock now{2024, 5, 6, 12, 34, 56};

    FolderResult CreateFolder(const std::string& path) override {
        if (folderFails) return FolderResult::Failed;
        return folders.insert(path).second ? FolderResult::Created : FolderResult::Existed;
    }

    std::unique_ptr<files::WaveFileHandle> OpenForAppend(const std::string& path) override {
        if (lockedPaths.count(path) || openPaths.count(path)) return nullptr;
        openPaths.insert(path);
        files[path];  // created when missing, kept when present
        return std::make_unique<Handle>(*this, path);
    }

    NewFile OpenNew(const std::string& path) override {
        NewFile result;
        if (openPaths.count(path) || (files.count(path) && !lockedPaths.count(path))) result.taken = true;
        else result.file = OpenForAppend(path);
        return result;
    }

    files::WaveClock LocalNow() override { return now; }

private:
    class Handle : public files::WaveFileHandle {
    public:
        Handle(FakeWaveFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
        ~Handle() override { fs_.openPaths.erase(path_); }
        bool Append(const char* data, size_t size) override {
            if (fs_.failingPaths.count(path_)) return false;
            if (fs_.spaceLeft >= 0) {
                if (static_cast<long long>(size) > fs_.spaceLeft) return false;
                fs_.spaceLeft -= static_cast<long long>(size);
            }
            fs_.files[path_].append(data, size);
            return true;
        }

    private:
        FakeWaveFileSystem& fs_;
        std::string path_;
    };
};
