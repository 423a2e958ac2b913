// The waveform CSV writer: file names, the six header lines, numbered continuation parts and the
// buffered append of sample lines, for the manual and the trigger recording alike.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/Settings.h"

namespace files {

enum class WaveKind { Record = 0, Trigger = 1 };

// A local date and time as the PC clock gives it.
struct WaveClock {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// An open waveform file with write access; closed when destroyed.
class WaveFileHandle {
public:
    virtual ~WaveFileHandle() = default;
    // Writes all `size` bytes at the end of the file. On false the file has been cut back to its
    // length before the call where the system allows it, so it never ends in part of a line.
    [[nodiscard]] virtual bool Append(const char* data, size_t size) = 0;
};

// The folders, files and clock the writer uses (the Win32 file system, or a fake in tests).
class WaveFileSystem {
public:
    enum class FolderResult { Created, Existed, Failed };
    virtual ~WaveFileSystem() = default;
    virtual FolderResult CreateFolder(const std::string& path) = 0;
    // Opens `path` for appending, creating it when missing and never truncating it; other writers
    // are refused while it is open. Null when it cannot be opened.
    virtual std::unique_ptr<WaveFileHandle> OpenForAppend(const std::string& path) = 0;
    struct NewFile {
        std::unique_ptr<WaveFileHandle> file;
        bool taken = false;  // a file of that name exists, or one of our writers holds it
    };
    // Opens `path` as OpenForAppend does, but only when no file of that name exists yet: a
    // recording's first file never goes into a file another recording wrote. Neither file nor
    // taken: it cannot be opened (held by another program, no such folder).
    virtual NewFile OpenNew(const std::string& path) = 0;
    virtual WaveClock LocalNow() = 0;
};

inline constexpr const char* kFileOpenError = "FILE OPEN ERROR";
inline constexpr const char* kTrigFolderError = "Trig.dt ディレクトリの作成に失敗しました。";
inline constexpr const char* kTrigFolderName = "Trig.dt";
// Longest path a waveform file may have (the platform's MAX_PATH less the terminator).
inline constexpr size_t kMaxWavePath = 259;

// "YYYYMMDD_hhmmss": the name of a recording's first file without its extension.
[[nodiscard]] std::string WaveFileStem(const WaveClock& t);
// A recording that starts in the same second as one whose first file exists takes the stem
// followed by "_2", "_3", … ("-n" would read as a continuation part); at most this many a second.
inline constexpr int kMaxRecordingsPerSecond = 99;
// The six header lines with CR LF; line 1 depends on the kind, line 2 holds `opened`.
[[nodiscard]] std::string WaveFileHeader(WaveKind kind, const WaveClock& opened);
// `folder` and `name` joined by one backslash (none added after a trailing separator or to an
// empty folder).
[[nodiscard]] std::string JoinPath(const std::string& folder, const std::string& name);

// What the writer tells the operator; both may be empty.
struct WaveFileReports {
    // A message with an OK button: "FILE OPEN ERROR" or the Trig.dt folder message.
    std::function<void(const char* text)> showMessage;
    // The first write of a recording that failed after its file was open; called once per
    // recording, with the file's path. The recording writes nothing more.
    std::function<void(WaveKind kind, const std::string& path)> writeFailed;
};

// One kind's file object with its split index, line counter and base name. Lines are collected in
// a buffer and handed to the file by Flush (the owner calls it after each batch), when the buffer
// is full, at a split and at Close.
class WaveFileWriter {
public:
    // Reads [SPEC] SAVE_DIRECTORY and SAVEDATA_MAXNUM from `settings` at each use.
    WaveFileWriter(WaveKind kind, WaveFileSystem& fileSystem, const Settings& settings);
    ~WaveFileWriter();
    WaveFileWriter(const WaveFileWriter&) = delete;
    WaveFileWriter& operator=(const WaveFileWriter&) = delete;

    // Index 0 starts a new recording (a new base name from the clock, "_2", "_3", … appended when
    // that name is taken; trigger files in the Trig.dt folder, created when missing); index n >= 1
    // opens part n of the current recording.
    // Sets index, clears lines, opens and writes the header. On failure: "FILE OPEN ERROR", the
    // file stays closed, false.
    [[nodiscard]] bool Open(int index);
    // One sample line; dropped while the file is closed. A full file is closed first and the next
    // part opened; if that fails, this line and the rest of the recording are dropped.
    void Append(double x, double y, double z);
    // Hands the buffered lines to the file. A failed write is reported (once per recording) and
    // closes the file; every line written before it stays intact.
    void Flush();
    // Flushes and closes; nothing when already closed.
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

    // Paths of the files opened since the last Open(0), in order.
    const std::vector<std::string>& RecordingPaths() const { return paths_; }

    int index = 0;     // split index of the current file: 0 first file, n part n
    int lines = 0;     // sample lines given to the current file
    std::string base;  // path of the recording's first file without ".csv"
    WaveFileReports reports;

private:
    void ReportWriteFailure();

    WaveKind kind_;
    WaveFileSystem& fileSystem_;
    const Settings& settings_;
    std::unique_ptr<WaveFileHandle> file_;
    std::string path_;              // path of the open (or last) file
    std::vector<std::string> paths_;
    std::vector<char> buffer_;      // fixed size; never reallocated
    size_t used_ = 0;               // invariant: used_ < kBufferSize between calls, so a line always fits
    bool writeFailed_ = false;      // a write of this recording failed; nothing more is written
};

}  // namespace files
