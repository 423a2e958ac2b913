// Simulated recorder: records, signals, commands.
#include "tools/recsim/RecorderModel.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace recsim {

int StreamRecordLength(int bit) { return bit == 16 ? 19 : 16; }
int32_t FullScale(int bit) { return bit == 16 ? 65535 : 4095; }
int32_t MidScale(int bit) { return bit == 16 ? 32768 : 2048; }

char LowPassCode(int bit, double hz) {
    if (hz == 5.0) return ':';
    if (bit == 16) return hz == 10.0 ? ';' : hz == 20.0 ? '/' : 'A';
    return hz == 40.0 ? ';' : hz == 10.0 ? '/' : 'A';
}

namespace {
int32_t Clamp(int bit, int32_t v) { return v < 0 ? 0 : v > FullScale(bit) ? FullScale(bit) : v; }
}  // namespace

std::string SampleLine(int bit, int32_t x, int32_t y, int32_t z, char code) {
    char b[40];
    const char* fmt = bit == 16 ? "%05d%c%05d,%05d" : "%04d%c%04d,%04d";
    std::snprintf(b, sizeof b, fmt, static_cast<int>(Clamp(bit, x)), code,
                  static_cast<int>(Clamp(bit, y)), static_cast<int>(Clamp(bit, z)));
    return b;
}

std::string SampleRecordBytes(int bit, int32_t x, int32_t y, int32_t z, char code) {
    return SampleLine(bit, x, y, z, code) + "\r\n";
}

std::string TimeLine(const ClockTime& t) {
    char b[40];
    std::snprintf(b, sizeof b, "TM%02d%02d%02d%02d%02d%02d", t.year % 100, t.month, t.day, t.hour,
                  t.minute, t.second);
    return b;
}

std::string TimeRecordBytes(int bit, const ClockTime& t) {
    std::string s = TimeLine(t);
    s.resize(static_cast<size_t>(StreamRecordLength(bit) - 2), ' ');
    return s + "\r\n";
}

namespace {
// Days since 1970-01-01 of a civil date, and back (Howard Hinnant's algorithms).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}
void CivilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (m <= 2));
}
}  // namespace

ClockTime AddSeconds(const ClockTime& t, int64_t seconds) {
    int64_t total = DaysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day)) * 86400 +
                    t.hour * 3600 + t.minute * 60 + t.second + seconds;
    int64_t days = total >= 0 ? total / 86400 : (total - 86399) / 86400;
    int64_t rest = total - days * 86400;
    ClockTime r;
    CivilFromDays(days, r.year, r.month, r.day);
    r.hour = static_cast<int>(rest / 3600);
    r.minute = static_cast<int>(rest / 60 % 60);
    r.second = static_cast<int>(rest % 60);
    return r;
}

SignalGenerator::SignalGenerator(int bit_, const AxisSignal (&axes_)[3], uint32_t seed)
    : bit(bit_), rng(seed ? seed : 0x9E3779B97F4A7C15ull) {
    for (int i = 0; i < 3; ++i) axes[i] = axes_[i];
}

void SignalGenerator::Sample(uint64_t index, int32_t out[3]) {
    constexpr double kTwoPi = 6.283185307179586;
    const double t = static_cast<double>(index) * 0.01;
    const int64_t ms = static_cast<int64_t>(index) * 10;
    for (int a = 0; a < 3; ++a) {
        const AxisSignal& s = axes[a];
        double v = MidScale(bit) + s.amp * std::sin(kTwoPi * s.freq * t + s.phase);
        rng ^= rng << 13;
        rng ^= rng >> 7;
        rng ^= rng << 17;
        if (s.noise > 0) v += s.noise * (static_cast<double>(rng % 2000001) / 1000000.0 - 1.0);
        if (s.burstAmp > 0 && s.burstPeriodMs > 0 && ms % s.burstPeriodMs < s.burstMs)
            v += s.burstAmp * std::sin(kTwoPi * s.burstFreq * t);
        const double r = std::floor(v + 0.5);
        out[a] = Clamp(bit, static_cast<int32_t>(r < -1e9 ? -1e9 : r > 1e9 ? 1e9 : r));
    }
}

std::string SdCardFile(int bit, const ClockTime& start, SignalGenerator& gen, long long records,
                       long long tmEveryRecords, char code) {
    std::string file;
    for (long long i = 0; i < records; ++i) {
        if (i == 0 || (tmEveryRecords > 0 && i % tmEveryRecords == 0))
            file += TimeLine(AddSeconds(start, i / 100)) + "\r\n";
        int32_t v[3];
        gen.Sample(static_cast<uint64_t>(i), v);
        file += SampleLine(bit, v[0], v[1], v[2], code) + "\r\n";
    }
    return file;
}

namespace {
bool IsClockCommand(const std::string& s) {
    if (s.size() != 17) return false;
    for (size_t i = 0; i < 17; ++i) {
        const bool dash = i % 3 == 2;
        if (dash ? s[i] != '-' : !std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    }
    return true;
}
}  // namespace

std::string CommandInterpreter::ThresholdReply() const {
    static const char* const kNames[4] = {"P-", "N1", "N2", "N3"};
    const int values[4] = {p, n1, n2, n3};
    std::string reply;
    for (int i : replyOrder) {
        char b[32];
        std::snprintf(b, sizeof b, "%s,%03d\r\n", kNames[i], values[i]);
        reply += b;
    }
    return reply;
}

bool CommandInterpreter::SetReplyOrder(const std::string& names) {
    static const char* const kNames[4] = {"P", "N1", "N2", "N3"};
    std::array<int, 4> order{};
    unsigned seen = 0;
    size_t pos = 0;
    for (int k = 0; k < 4; ++k) {
        size_t comma = names.find(',', pos);
        if ((k < 3) != (comma != std::string::npos)) return false;
        if (comma == std::string::npos) comma = names.size();
        const std::string name = names.substr(pos, comma - pos);
        int index = -1;
        for (int i = 0; i < 4; ++i)
            if (name == kNames[i]) index = i;
        if (index < 0 || (seen & (1u << index))) return false;
        seen |= 1u << index;
        order[static_cast<size_t>(k)] = index;
        pos = comma + 1;
    }
    replyOrder = order;
    return true;
}

std::vector<std::string> CommandInterpreter::Feed(const std::string& bytes, std::string& reply) {
    std::vector<std::string> done;
    for (char c : bytes) {
        if (c != '\r' && c != '\n') {
            line += c;
            // The clock command has no line end: it is complete at its 17th byte.
            if (line.size() >= 17 && IsClockCommand(line.substr(line.size() - 17))) {
                const std::string cmd = line.substr(line.size() - 17);
                clock.year = 2000 + std::atoi(cmd.c_str());
                clock.month = std::atoi(cmd.c_str() + 3);
                clock.day = std::atoi(cmd.c_str() + 6);
                clock.hour = std::atoi(cmd.c_str() + 9);
                clock.minute = std::atoi(cmd.c_str() + 12);
                clock.second = std::atoi(cmd.c_str() + 15);
                clockSet = true;
                done.push_back("CLOCK " + cmd);
                if (echo) reply += cmd + "\r\n";
                line.clear();
            }
            if (line.size() > 256) line.erase(0, line.size() - 256);
            continue;
        }
        if (echo && !line.empty()) reply += line + "\r\n";
        if (line == "THR") {
            reply += ThresholdReply();
            done.push_back("THR");
        } else if (line.size() >= 4 && line[2] == ',') {
            const int v = std::atoi(line.c_str() + 3);
            const std::string key = line.substr(0, 2);
            int* target = key == "P-" ? &p : key == "N1" ? &n1 : key == "N2" ? &n2 : key == "N3" ? &n3 : nullptr;
            if (target) {
                *target = v;
                done.push_back((key == "P-" ? std::string("P") : key) + "=" + std::to_string(v));
            }
        }
        line.clear();
    }
    return done;
}

}  // namespace recsim
