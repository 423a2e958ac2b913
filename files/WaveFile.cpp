// OpenWaveFile, the append rule and the file names of the waveform files.
#include "files/WaveFile.h"

#include <cstdio>

#include "files/SampleLine.h"

namespace files {

namespace {

constexpr size_t kBufferSize = 64 * 1024;
constexpr double kSampleSpacingMs = 10.0;

}  // namespace

std::string WaveFileStem(const WaveClock& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02d_%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return text;
}

std::string WaveFileHeader(WaveKind kind, const WaveClock& opened) {
    std::string header = kind == WaveKind::Trigger ? "COMMENT_1:TRIG DATA\r\n" : "COMMENT_1:\r\n";
    char date[96];
    std::snprintf(date, sizeof date, "DATE_MAKE:%04d.%02d.%02d_%02d:%02d:%02d\r\n", opened.year, opened.month,
                  opened.day, opened.hour, opened.minute, opened.second);
    header += date;
    char clock[kFixedMaxChars];
    header += "CLOCK:";
    header.append(clock, FormatFixed(clock, kSampleSpacingMs));
    header += " ( msec )\r\n";
    header += "DATA:\r\n";
    header += "\x82\x77,\x82\x78,\x82\x79\r\n";  // full-width X, Y, Z in code page 932
    header += "gal,gal,gal\r\n";
    return header;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char last = folder.back();
    if (last == '\\' || last == '/') return folder + name;
    return folder + '\\' + name;
}

WaveFileWriter::WaveFileWriter(WaveKind kind, WaveFileSystem& fileSystem, const Settings& settings)
    : kind_(kind), fileSystem_(fileSystem), settings_(settings), buffer_(kBufferSize + kSampleLineMaxChars) {}

WaveFileWriter::~WaveFileWriter() { Close(); }

bool WaveFileWriter::Open(int newIndex) {
    Close();
    index = newIndex;
    lines = 0;
    std::string path;
    std::unique_ptr<WaveFileHandle> file;
    if (newIndex == 0) {
        std::string folder = settings_.saveDirectory;
        if (kind_ == WaveKind::Trigger) {
            const std::string trigFolder = JoinPath(folder, kTrigFolderName);
            if (fileSystem_.CreateFolder(trigFolder) == WaveFileSystem::FolderResult::Failed) {
                if (reports.showMessage) reports.showMessage(kTrigFolderError);
            } else {
                folder = trigFolder;
            }
        }
        const std::string stem = JoinPath(folder, WaveFileStem(fileSystem_.LocalNow()));
        paths_.clear();
        writeFailed_ = false;
        // A file of this second exists (a re-trigger, or the other kind in the data folder when
        // Trig.dt could not be made): this recording takes the next free name instead of appending.
        for (int n = 1; n <= kMaxRecordingsPerSecond; ++n) {
            base = n == 1 ? stem : stem + "_" + std::to_string(n);
            path = base + ".csv";
            if (path.size() > kMaxWavePath) break;
            WaveFileSystem::NewFile opened = fileSystem_.OpenNew(path);
            if (!opened.taken) {
                file = std::move(opened.file);
                break;
            }
        }
    } else {
        path = base + "-" + std::to_string(newIndex) + ".csv";
        if (path.size() <= kMaxWavePath) file = fileSystem_.OpenForAppend(path);
    }
    path_ = path;

    if (file) {
        const std::string header = WaveFileHeader(kind_, fileSystem_.LocalNow());
        if (!file->Append(header.data(), header.size())) file.reset();
    }
    if (!file) {
        if (reports.showMessage) reports.showMessage(kFileOpenError);
        return false;
    }
    file_ = std::move(file);
    paths_.push_back(path);
    return true;
}

void WaveFileWriter::Append(double x, double y, double z) {
    if (!file_) return;
    if (lines >= settings_.savedataMaxnum) {
        Close();
        // After a failed write the recording takes no more lines, so it keeps no gap.
        if (writeFailed_ || !Open(index + 1)) return;
    }
    char* start = buffer_.data() + used_;
    used_ = static_cast<size_t>(FormatSampleLine(start, x, y, z) - buffer_.data());
    ++lines;
    if (used_ >= kBufferSize) Flush();
}

void WaveFileWriter::Flush() {
    if (!file_ || used_ == 0) return;
    const bool written = file_->Append(buffer_.data(), used_);
    used_ = 0;
    if (!written) ReportWriteFailure();
}

void WaveFileWriter::Close() {
    Flush();
    file_.reset();
    used_ = 0;
}

void WaveFileWriter::ReportWriteFailure() {
    file_.reset();
    const bool first = !writeFailed_;
    writeFailed_ = true;
    if (first && reports.writeFailed) reports.writeFailed(kind_, path_);
}

}  // namespace files
