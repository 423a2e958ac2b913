// Strict reading of the program's waveform CSV files and their miniSEED export.
#include "seed/CsvExport.h"

#include <cstring>
#include <memory>
#include <vector>

#include "files/ImportFields.h"
#include "files/LineReader.h"
#include "seed/MiniSeed.h"

namespace seed {

namespace {

// The header lines as the writer writes them; line 2 is DATE_MAKE.
constexpr const char* kCommentManual = "COMMENT_1:";
constexpr const char* kCommentTrigger = "COMMENT_1:TRIG DATA";
constexpr const char* kClock = "CLOCK:10.000000 ( msec )";
constexpr const char* kData = "DATA:";
constexpr const char* kColumns = "\x82\x77,\x82\x78,\x82\x79";  // full-width X, Y, Z in code page 932
constexpr const char* kUnits = "gal,gal,gal";

bool Is(const files::Line& line, const char* text) {
    const size_t n = std::strlen(text);
    return !line.truncated && line.size == n && std::memcmp(line.text, text, n) == 0;
}

bool Digits(const char* p, int count) {
    for (int i = 0; i < count; ++i) {
        if (static_cast<unsigned char>(p[i] - '0') > 9) return false;
    }
    return true;
}

int Number(const char* p, int count) {
    int v = 0;
    for (int i = 0; i < count; ++i) v = v * 10 + (p[i] - '0');
    return v;
}

// "DATE_MAKE:YYYY.MM.DD_hh:mm:ss" as a local file time.
std::optional<uint64_t> DateMake(const files::Line& line) {
    const char* t = line.text;
    if (line.truncated || line.size != 29 || std::memcmp(t, "DATE_MAKE:", 10) != 0) return std::nullopt;
    if (!Digits(t + 10, 4) || t[14] != '.' || !Digits(t + 15, 2) || t[17] != '.' || !Digits(t + 18, 2) ||
        t[20] != '_' || !Digits(t + 21, 2) || t[23] != ':' || !Digits(t + 24, 2) || t[26] != ':' ||
        !Digits(t + 27, 2)) {
        return std::nullopt;
    }
    files::CalendarTime c;
    c.year = Number(t + 10, 4);
    c.month = Number(t + 15, 2);
    c.day = Number(t + 18, 2);
    c.hour = Number(t + 21, 2);
    c.minute = Number(t + 24, 2);
    c.second = Number(t + 27, 2);
    return files::FileTimeOf(c);
}

// "x,y,z" of three plain decimals, as the writer's "%f" gives them.
bool SampleLine(const files::Line& line, double (&values)[3]) {
    if (line.truncated) return false;
    const char* p = line.text;
    const char* end = line.text + line.size;
    for (int axis = 0; axis < 3; ++axis) {
        const char* stop = nullptr;
        if (!files::ReadPlainDecimal(p, end, values[axis], stop)) return false;
        if (axis < 2) {
            if (stop == end || *stop != ',') return false;
            p = stop + 1;
        } else if (stop != end) {
            return false;
        }
    }
    return true;
}

// Remembers the last byte, so a file whose last line has no line end is known to be cut short.
class TailSource : public files::ByteSource {
public:
    explicit TailSource(files::ByteSource& inner) : inner_(inner) {}
    Chunk Read(char* buffer, size_t capacity) override {
        const Chunk chunk = inner_.Read(buffer, capacity);
        if (chunk.count > 0) last_ = buffer[chunk.count - 1];
        return chunk;
    }
    files::FileErrorCause Rewind() override { return inner_.Rewind(); }
    uint64_t Size() const override { return inner_.Size(); }
    char Last() const { return last_; }

private:
    files::ByteSource& inner_;
    char last_ = '\n';
};

bool EndsWithCsv(const std::string& path) {
    if (path.size() < 4) return false;
    const std::string ext = path.substr(path.size() - 4);
    return ext[0] == '.' && (ext[1] | 0x20) == 'c' && (ext[2] | 0x20) == 's' && (ext[3] | 0x20) == 'v';
}

std::string WithoutExtension(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    const size_t separator = path.find_last_of("\\/");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return path;
    return path.substr(0, dot);
}

// Writes the records of the three channels into one file, in the order they fill.
class ExportWriter {
public:
    ExportWriter(PendingFile& file, const ArchiveCodes& codes) : file_(file), codes_(codes) {
        for (int axis = 0; axis < 3; ++axis) {
            encoders_.emplace_back([this, axis](const EncodedData& data) { Write(axis, data); });
        }
    }
    void StartSegment(Ticks start) {
        Flush();
        start_ = start;
        index_ = 0;
    }
    void Add(const double (&values)[3]) {
        for (int axis = 0; axis < 3; ++axis) encoders_[static_cast<size_t>(axis)].Add(values[axis], index_);
        ++index_;
    }
    void Flush() {
        for (Float64Encoder& encoder : encoders_) encoder.Flush();
    }
    bool Ok() const { return ok_; }

private:
    void Write(int axis, const EncodedData& data) {
        uint8_t record[kRecordLength];
        RecordHeader header;
        header.sequence = sequence_;
        header.id = codes_.Channel(axis);
        header.start = start_ + data.firstIndex * kTicksPerSample;
        header.samples = data.samples;
        header.encoding = Encoding::Float64;
        WriteHeader(record, header);
        std::memcpy(record + kDataOffset, data.bytes, kDataBytes);
        sequence_ = NextSequence(sequence_);
        if (ok_) ok_ = file_.Write(record, kRecordLength);
    }

    PendingFile& file_;
    const ArchiveCodes& codes_;
    std::vector<Float64Encoder> encoders_;
    Ticks start_ = 0;
    int64_t index_ = 0;
    int sequence_ = 1;
    bool ok_ = true;
};

// Reads one file of the recording into the writer. `continuation`: a split part, whose first
// header continues the times of the part before it.
ExportResult ReadPart(const std::string& path, bool continuation, ArchiveFiles& files, ExportWriter& writer,
                      const LocalToUtc& toUtc, ExportResult result) {
    result.file = path;
    std::unique_ptr<files::ByteSource> source = files.Open(path);
    if (!source) {
        result.status = ExportResult::Status::ReadFailed;
        result.cause = files::FileErrorCause::FileNotFound;
        return result;
    }
    TailSource tail(*source);
    files::LineReader reader(tail, size_t{1} << 16, 256);
    files::Line line;
    int headerLine = 1;  // the header line expected next; 0 inside the data
    bool firstHeader = true;
    uint64_t number = 0;
    // A line that is not ours is a cut-short one when it is the last and has no line end.
    auto fail = [&](ExportResult::Status status) {
        files::Line next;
        const bool last = !reader.Next(next) && reader.Error() == files::FileErrorCause::None;
        result.status = last && tail.Last() != '\n' ? ExportResult::Status::Truncated : status;
        result.line = number;
        return result;
    };
    while (reader.Next(line)) {
        ++number;
        double values[3];
        if (headerLine == 0) {
            if (SampleLine(line, values)) {
                writer.Add(values);
                ++result.samples;
                continue;
            }
            // Two trigger recordings that start within one second share a file: a new header.
            if (!Is(line, kCommentTrigger) && !Is(line, kCommentManual)) return fail(ExportResult::Status::NotOurs);
            headerLine = 2;
            firstHeader = false;
            continue;
        }
        switch (headerLine) {
        case 1:
            if (!Is(line, kCommentTrigger) && !Is(line, kCommentManual)) return fail(ExportResult::Status::NotOurs);
            break;
        case 2: {
            const std::optional<uint64_t> local = DateMake(line);
            if (!local) return fail(ExportResult::Status::NotOurs);
            if (!(continuation && firstHeader)) {
                const std::optional<Ticks> utc = toUtc(*local);
                if (!utc) return fail(ExportResult::Status::NotOurs);
                writer.StartSegment(*utc);
                ++result.segments;
            }
            break;
        }
        case 3:
            if (!Is(line, kClock)) return fail(ExportResult::Status::NotOurs);
            break;
        case 4:
            if (!Is(line, kData)) return fail(ExportResult::Status::NotOurs);
            break;
        case 5:
            if (!Is(line, kColumns)) return fail(ExportResult::Status::NotOurs);
            break;
        case 6:
            if (!Is(line, kUnits)) return fail(ExportResult::Status::NotOurs);
            break;
        }
        headerLine = headerLine == 6 ? 0 : headerLine + 1;
    }
    if (reader.Error() != files::FileErrorCause::None) {
        result.status = ExportResult::Status::ReadFailed;
        result.cause = reader.Error();
        return result;
    }
    if (number == 0) {
        result.status = ExportResult::Status::NotOurs;
        result.line = 1;
    } else if (tail.Last() != '\n' || headerLine != 0) {
        result.status = ExportResult::Status::Truncated;
        result.line = number;
    }
    return result;
}

}  // namespace

std::string FirstPart(const std::string& chosen, ArchiveFiles& files) {
    if (!EndsWithCsv(chosen)) return chosen;
    const std::string stem = chosen.substr(0, chosen.size() - 4);
    const size_t dash = stem.find_last_of('-');
    if (dash == std::string::npos || dash + 1 == stem.size()) return chosen;
    for (size_t i = dash + 1; i < stem.size(); ++i) {
        if (static_cast<unsigned char>(stem[i] - '0') > 9) return chosen;
    }
    const std::string first = stem.substr(0, dash) + chosen.substr(chosen.size() - 4);
    return files.Exists(first) ? first : chosen;
}

ExportResult ExportCsv(const std::string& chosen, ArchiveFiles& files, const ArchiveCodes& codes,
                       const LocalToUtc& toUtc) {
    const std::string first = FirstPart(chosen, files);
    std::vector<std::string> parts{first};
    if (EndsWithCsv(first)) {
        const std::string stem = first.substr(0, first.size() - 4);
        for (int n = 1;; ++n) {
            const std::string part = stem + "-" + std::to_string(n) + first.substr(first.size() - 4);
            if (!files.Exists(part)) break;
            parts.push_back(part);
        }
    }
    ExportResult result;
    result.output = WithoutExtension(first) + ".mseed";
    std::unique_ptr<PendingFile> out = files.Create(result.output);
    if (!out) {
        result.status = ExportResult::Status::WriteFailed;
        return result;
    }
    ExportWriter writer(*out, codes);
    for (size_t i = 0; i < parts.size(); ++i) {
        result = ReadPart(parts[i], i > 0, files, writer, toUtc, result);
        if (result.status != ExportResult::Status::Written) return result;  // `out` goes unwritten
    }
    if (result.samples == 0) {
        result.status = ExportResult::Status::NoSamples;
        return result;
    }
    writer.Flush();
    if (!writer.Ok() || !out->Commit()) {
        result.status = ExportResult::Status::WriteFailed;
        result.file.clear();
    }
    return result;
}

std::string ExportMessage(const ExportResult& r) {
    const std::string where = r.file + " (" + std::to_string(r.line) + " 行目)";
    switch (r.status) {
    case ExportResult::Status::Written:
        return "miniSEED ファイルを書き出しました。\n" + r.output;
    case ExportResult::Status::NotOurs:
        return "このプログラムの波形ファイルではないため、変換できません。\n" + where;
    case ExportResult::Status::Truncated:
        return "ファイルが途中で切れているため、変換できません。\n" + where;
    case ExportResult::Status::NoSamples:
        return "データがないため、変換できません。\n" + r.file;
    case ExportResult::Status::ReadFailed:
        return files::FileErrorText(r.cause, r.file);
    case ExportResult::Status::WriteFailed:
        return "ファイルの書き込みに失敗しました。\n" + r.output;
    }
    return {};
}

}  // namespace seed
