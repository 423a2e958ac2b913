// Waveform CSV segments: line splitting for every line-end convention, the header rules and the
// lenient sample lines.
#include "files/WaveSegments.h"

#include <cstdlib>
#include <cstring>

namespace files {
namespace {

// atoi of `length` characters at `pos` (fewer when the line is shorter).
int FieldAt(const std::string& line, std::size_t pos, std::size_t length) {
    if (pos >= line.size()) return 0;
    return std::atoi(line.substr(pos, length).c_str());
}

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

void Validate(WaveTime& t) {
    t.valid = t.year >= 1601 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
              t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
              t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

// Year (4 characters), month, day, hour, minute and second (2 each) at the given positions.
WaveTime TimeAt(const std::string& text, const std::size_t (&at)[6]) {
    WaveTime t;
    t.year = FieldAt(text, at[0], 4);
    t.month = FieldAt(text, at[1], 2);
    t.day = FieldAt(text, at[2], 2);
    t.hour = FieldAt(text, at[3], 2);
    t.minute = FieldAt(text, at[4], 2);
    t.second = FieldAt(text, at[5], 2);
    Validate(t);
    return t;
}

bool StartsWith(const std::string& s, const char* prefix) {
    return s.compare(0, std::strlen(prefix), prefix) == 0;
}

}  // namespace

WaveTime ParseDateMake(const std::string& line) {
    static const std::size_t kAt[6] = {10, 15, 18, 21, 24, 27};
    return TimeAt(line, kAt);
}

WaveTime ParseWaveFileName(const std::string& name) {
    if (name.size() < 15 || name[8] != '_') return WaveTime{};
    for (std::size_t i = 0; i < 15; ++i)
        if (i != 8 && (name[i] < '0' || name[i] > '9')) return WaveTime{};
    static const std::size_t kAt[6] = {0, 4, 6, 9, 11, 13};
    return TimeAt(name, kAt);
}

void WaveSegmentParser::Feed(const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == '\n' || c == '\r') {
            if (!(c == '\n' && afterCr_)) Line();
            afterCr_ = c == '\r';
            continue;
        }
        afterCr_ = false;
        lineOpen_ = true;
        if (line_.size() < kMaxLine) line_.push_back(c);
    }
}

void WaveSegmentParser::Finish() {
    if (lineOpen_) Line();
    afterCr_ = false;
}

void WaveSegmentParser::Line() {
    lineOpen_ = false;
    switch (state_) {
    case State::Header:
        if (StartsWith(line_, "DATE_MAKE:")) {
            time_ = ParseDateMake(line_);
        } else if (line_ == "DATA:") {
            state_ = State::SkipColumns;
            skip_ = 2;
        }
        break;
    case State::SkipColumns:
        if (--skip_ == 0) {
            state_ = State::Samples;
            ++segments_;
            sink_.OnSegment(time_);
        }
        break;
    case State::Samples:
        if (StartsWith(line_, "COMMENT_1:")) {
            state_ = State::Header;
            time_ = WaveTime{};
            break;
        }
        if (!line_.empty()) {
            const char* p = line_.c_str();
            for (int axis = 0; axis < 3; ++axis) {
                last_[axis] = std::strtod(p, nullptr);
                p = std::strchr(p, ',');
                if (!p) break;
                ++p;
            }
        }
        sink_.OnSample(last_[0], last_[1], last_[2]);
        break;
    }
    line_.clear();
}

}  // namespace files
