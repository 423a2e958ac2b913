// The simulated recorder's portable parts: record encoding, signal generation, the command
// interpreter (clock and thresholds) and SD-card file lines.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace recsim {

// Record length of a stream record: 19 bytes for 16-bit, 16 for 12-bit.
int StreamRecordLength(int bit);
// Highest AD count of the format (4095 or 65535); counts are clamped to 0..this.
int32_t FullScale(int bit);
int32_t MidScale(int bit);

// Code byte for a low-pass frequency in the format's table; 'A' (no recognised code) for others.
char LowPassCode(int bit, double hz);

// "%04d<code>%04d,%04d" (12-bit) or "%05d<code>%05d,%05d" (16-bit) of the clamped counts, without
// the line end: also the SD-card line.
std::string SampleLine(int bit, int32_t x, int32_t y, int32_t z, char code);
// A stream record: the line followed by CR LF.
std::string SampleRecordBytes(int bit, int32_t x, int32_t y, int32_t z, char code);

struct ClockTime {
    int year = 2024, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};
// "TMyyMMddhhmmss" (14 characters): the SD-card time line.
std::string TimeLine(const ClockTime& t);
// The stream's time report: the time line padded with spaces to the record length, then CR LF.
std::string TimeRecordBytes(int bit, const ClockTime& t);
// Adds whole seconds to a calendar time (proleptic Gregorian, no time zone).
ClockTime AddSeconds(const ClockTime& t, int64_t seconds);

// Per-axis signal: mid-scale + amp*sin(2*pi*freq*t + phase) + uniform noise in +-noise, plus
// bursts of burstAmp*sin(2*pi*burstFreq*t) lasting burstMs every burstPeriodMs.
struct AxisSignal {
    double amp = 0.0;       // counts
    double freq = 1.0;      // Hz
    double phase = 0.0;     // radians
    double noise = 0.0;     // counts
    double burstAmp = 0.0;  // counts; 0 = no bursts
    double burstFreq = 5.0;
    int burstPeriodMs = 10000;
    int burstMs = 1000;
};

class SignalGenerator {
public:
    SignalGenerator(int bit, const AxisSignal (&axes)[3], uint32_t seed);
    // AD counts of sample number `index` (10 ms apart) for the three axes, clamped.
    void Sample(uint64_t index, int32_t out[3]);

private:
    int bit;
    AxisSignal axes[3];
    uint64_t rng;  // xorshift state; never 0
};

// An SD-card file: a time line first and then every `tmEveryRecords` samples (0: only the first),
// `records` sample lines from `gen`, each line ending in CR LF.
std::string SdCardFile(int bit, const ClockTime& start, SignalGenerator& gen, long long records,
                       long long tmEveryRecords, char code);

// The recorder's side of the clock and threshold exchanges. Bytes from the PC go in; replies
// come out through `reply`.
class CommandInterpreter {
public:
    int p = 15, n1 = 10, n2 = 20, n3 = 30;  // P in tenths of a gal; N in gal
    // Order of the reply lines: indices 0 P, 1 N1, 2 N2, 3 N3.
    std::array<int, 4> replyOrder{{0, 1, 2, 3}};
    bool echo = false;  // every command line is sent back (with CR LF) before its reply
    bool clockSet = false;
    ClockTime clock;                         // the last clock command's time

    // Feeds bytes from the PC; appends any reply bytes to `reply`. Returns descriptions of the
    // commands understood (for the log), e.g. "THR", "P=15", "CLOCK 24-05-06-12-34-56".
    std::vector<std::string> Feed(const std::string& bytes, std::string& reply);
    // "P-,%03d\r\n", "N1,%03d\r\n", "N2,%03d\r\n", "N3,%03d\r\n" of the current values in
    // replyOrder.
    std::string ThresholdReply() const;
    // Parses "P,N2,N1,N3" (names P, N1, N2, N3, each once) into replyOrder; false leaves it.
    bool SetReplyOrder(const std::string& names);

private:
    std::string line;  // bytes since the last CR or LF
};

}  // namespace recsim
