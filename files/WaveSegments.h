// Reads waveform CSV files back as segments: one per header, with the header's DATE_MAKE time and
// the sample lines that follow. Fed in pieces of any size, so files of any length stream through.
#pragma once

#include <cstddef>
#include <string>

namespace files {

// A date and time as a file states it (local time).
struct WaveTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool valid = false;  // every field in its calendar range

    bool operator==(const WaveTime& o) const {
        return valid == o.valid && year == o.year && month == o.month && day == o.day && hour == o.hour &&
               minute == o.minute && second == o.second;
    }
};

// The DATE_MAKE fields at their fixed positions (year 10–13, month 15–16, day 18–19, hour 21–22,
// minute 24–25, second 27–28), each read like atoi; valid only when all lie in their ranges.
[[nodiscard]] WaveTime ParseDateMake(const std::string& line);
// The time of a recording's file name "YYYYMMDD_hhmmss…" (its first 15 characters); invalid when
// the name does not start that way.
[[nodiscard]] WaveTime ParseWaveFileName(const std::string& name);

// Receives a file's contents in order.
class WaveSegmentSink {
public:
    virtual ~WaveSegmentSink() = default;
    // A header ended ("DATA:" and the two lines after it); samples of this segment follow. `time`
    // is the header's last DATE_MAKE (invalid when it had none or a bad one).
    virtual void OnSegment(const WaveTime& time) = 0;
    // One sample line in gal.
    virtual void OnSample(double x, double y, double z) = 0;
};

// Line rules: a line ends at CR LF, LF or a lone CR. Header lines before "DATA:" are read for
// DATE_MAKE only; the two lines after "DATA:" are skipped. Each later line is a sample: split at
// commas, fields 1 to 3 read like atof; missing fields, or an empty line, repeat the previous
// sample's values (0 before the first). A line beginning with "COMMENT_1:" after samples starts the
// header of a new segment (a second recording appended to the same file). Lines longer than
// kMaxLine characters are cut there.
class WaveSegmentParser {
public:
    static constexpr std::size_t kMaxLine = 1024;

    explicit WaveSegmentParser(WaveSegmentSink& sink) : sink_(sink) {}
    void Feed(const char* data, std::size_t size);
    // The last line when the file does not end with a line end.
    void Finish();
    // Segments begun so far.
    int Segments() const { return segments_; }

private:
    enum class State { Header, SkipColumns, Samples };
    void Line();

    WaveSegmentSink& sink_;
    std::string line_;
    bool lineOpen_ = false;     // characters (or a cut) since the last line end
    bool afterCr_ = false;      // the last character was CR: an LF right after it ends nothing
    State state_ = State::Header;
    int skip_ = 0;
    WaveTime time_;
    double last_[3] = {0.0, 0.0, 0.0};
    int segments_ = 0;
};

}  // namespace files
