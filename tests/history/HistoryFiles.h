// Test helpers of the trigger history: a scratch folder and waveform files as the recorder's
// writer lays them out.
#pragma once

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <random>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace history_test {

class ScratchFolder {
public:
    ScratchFolder() {
        // ctest runs test cases as parallel processes: the name must differ between processes too.
        static const unsigned process = std::random_device{}();
        static std::atomic<int> serial{0};
        path_ = std::filesystem::temp_directory_path() /
                ("quorvel-history-" + std::to_string(process) + "-" + std::to_string(serial++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string Path() const { return path_.string(); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes, const char* mode = "wb") {
    std::FILE* f = std::fopen(path.c_str(), mode);
    if (!f) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

inline std::string ReadBytes(const std::string& path) {
    std::string out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
    return out;
}

// The six header lines of a trigger file opened at `stamp` ("2024.05.06_12:34:56").
inline std::string TriggerHeader(const std::string& stamp) {
    return "COMMENT_1:TRIG DATA\r\nDATE_MAKE:" + stamp + "\r\nCLOCK:10.000000 ( msec )\r\nDATA:\r\nＸ,Ｙ,Ｚ\r\ngal,gal,gal\r\n";
}

// Sample lines "%f,%f,%f" with CR LF.
inline std::string SampleLines(const std::vector<double>& x, const std::vector<double>& y,
                               const std::vector<double>& z, std::size_t from = 0,
                               std::size_t to = static_cast<std::size_t>(-1)) {
    std::string out;
    char line[128];
    for (std::size_t i = from; i < x.size() && i < to; ++i) {
        std::snprintf(line, sizeof line, "%f,%f,%f\r\n", x[i], y[i], z[i]);
        out += line;
    }
    return out;
}

// Counts a worker's notices, which come on its thread, as the window's messages would.
class Notices {
public:
    void Notify() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++count_;
        }
        cv_.notify_all();
    }
    // Waits (bounded) until a notice came and `idle` holds; then forgets the notices.
    [[nodiscard]] bool WaitIdle(const std::function<bool()>& idle) {
        std::unique_lock<std::mutex> lock(mutex_);
        const bool settled = cv_.wait_for(lock, std::chrono::seconds(60), [&] { return count_ > 0 && idle(); });
        count_ = 0;
        return settled;
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    int count_ = 0;
};

}  // namespace history_test
