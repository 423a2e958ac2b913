// Test helpers: scratch INI files in a private temporary folder and byte-exact file access.
#pragma once

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <string>

namespace config_test {

// A fresh, unique file path per call (the platform caches INI files by name, so names never
// repeat within a run); the folder is removed when the object dies.
class ScratchDir {
public:
    ScratchDir() {
        static std::atomic<int> serial{0};
        dir_ = std::filesystem::temp_directory_path() /
               ("quorvel-config-" + std::to_string(Pid()) + "-" + std::to_string(serial++));
        std::filesystem::create_directories(dir_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string NewPath() {
        return (dir_ / ("t" + std::to_string(next_++) + ".ini")).string();
    }
    std::string Dir() const { return dir_.string(); }

private:
    static long Pid();
    std::filesystem::path dir_;
    int next_ = 0;
};

inline bool FileExists(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f) std::fclose(f);
    return f != nullptr;
}

inline std::string ReadBytes(const std::string& path) {
    std::string out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
    return out;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// A file of the test data folder; under Wine the Unix path is reached through drive Z:.
inline std::string ReadDataFile(const std::string& name) {
    std::string path = std::string(CONFIG_TEST_DATA_DIR) + "/" + name;
    if (FileExists(path)) return ReadBytes(path);
    return ReadBytes("Z:" + path);
}

}  // namespace config_test
