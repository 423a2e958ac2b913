// Shared by the archive's tests: an in-memory file system with planted failures, and records
// read back through Debian's libmseed (a reader others wrote), where the native tree has it.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "files/ByteSource.h"
#include "seed/ArchiveFiles.h"

namespace seedtest {

class MemoryFiles : public seed::ArchiveFiles {
public:
    std::map<std::string, std::string> files;
    std::string failAppendTo;     // appends to a path containing this fail (empty: none)
    bool failAsOpen = false;      // ... as an open failure; otherwise half the bytes land, then cut back
    bool failCreate = false;
    bool failMakeFolders = false;
    int appends = 0;

    seed::FileResult Append(const std::string& path, const uint8_t* bytes, size_t count) override {
        ++appends;
        if (!failAppendTo.empty() && path.find(failAppendTo) != std::string::npos) {
            return failAsOpen ? seed::FileResult::OpenFailed : seed::FileResult::WriteFailed;
        }
        files[path].append(reinterpret_cast<const char*>(bytes), count);
        return seed::FileResult::Ok;
    }
    bool ReadTail(const std::string& path, uint8_t* out, size_t count) override {
        auto it = files.find(path);
        if (it == files.end() || it->second.size() < count) return false;
        std::memcpy(out, it->second.data() + it->second.size() - count, count);
        return true;
    }
    std::unique_ptr<seed::PendingFile> Create(const std::string& path) override {
        if (failCreate) return nullptr;
        return std::make_unique<Pending>(*this, path);
    }
    bool MakeFolders(const std::string&) override { return !failMakeFolders; }
    std::unique_ptr<files::ByteSource> Open(const std::string& path) override {
        auto it = files.find(path);
        if (it == files.end()) return nullptr;
        return std::make_unique<files::MemorySource>(it->second);
    }
    bool Exists(const std::string& path) override { return files.count(path) > 0; }

private:
    class Pending : public seed::PendingFile {
    public:
        Pending(MemoryFiles& owner, std::string path) : owner_(owner), path_(std::move(path)) {}
        bool Write(const uint8_t* bytes, size_t count) override {
            if (owner_.failAppendTo == path_) return false;
            bytes_.append(reinterpret_cast<const char*>(bytes), count);
            return true;
        }
        bool Commit() override {
            owner_.files[path_] = bytes_;
            return true;
        }

    private:
        MemoryFiles& owner_;
        std::string path_;
        std::string bytes_;
    };
};

// One record as libmseed reads it.
struct ReadRecord {
    int sequence = 0;
    std::string nslc;       // "NET.STA.LOC.CHA"
    int64_t startUs = 0;    // microseconds since 1970
    double rate = 0;
    int length = 0;
    int encoding = 0;
    std::vector<int32_t> ints;
    std::vector<double> doubles;
};

// Every 512-byte record of `bytes` through libmseed's msr_parse; fails the test on anything it
// cannot read. Empty where the tree has no libmseed (the Windows trees).
std::vector<ReadRecord> ReadRecords(const std::string& bytes);
// libmseed is there to read with.
bool HaveReader();

}  // namespace seedtest
