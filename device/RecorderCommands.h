// The recorder's clock and threshold exchanges over the link's port, outside a measurement.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "device/RsUtil.h"
#include "device/SerialPort.h"

namespace device {

// Messages of the exchanges (CP932 bytes).
extern const char* const kTextClockFailed;       // "時刻転送に失敗しました。"
extern const char* const kTextThresholdReadError;   // "閾値　モニタエラー"
extern const char* const kTextThresholdWriteError;  // "閾値　転送エラー"

// "時刻転送しました。 [<command>]"
std::string ClockSentText(const std::string& command);

// The clock command: "YY-MM-DD-hh-mm-ss" (17 bytes, no line end), YY the year within its century.
std::string ClockCommand(int year, int month, int day, int hour, int minute, int second);

// Opens the link's port (searching for another when it is missing), writes `command` with one
// write and closes the port again. True when every byte was written.
[[nodiscard]] bool SendClock(CRsUtil& link, const std::string& command);

// The recorder's thresholds as it reports them: P in tenths of a gal, N1..N3 in gal.
struct Thresholds {
    int p = 0;
    int n1 = 0;
    int n2 = 0;
    int n3 = 0;
    bool operator==(const Thresholds& o) const { return p == o.p && n1 == o.n1 && n2 == o.n2 && n3 == o.n3; }
};

// Assembles the reply to the threshold request byte by byte: lines end with LF, start at
// position 0 of a 256-byte buffer and wrap there; "P-,nnn" and "N1,nnn".."N3,nnn" lines set
// their value from at most the three characters after the comma (like atoi); others are ignored.
class ThresholdReplyReader {
public:
    void Feed(uint8_t byte);
    bool Complete() const { return received == kAll; }
    const Thresholds& Values() const { return values; }

private:
    static constexpr unsigned kAll = 0xF;
    void EndLine();

    char line[256] = {};
    size_t length = 0;    // bytes stored since the line began (may exceed the buffer after a wrap)
    unsigned received = 0;  // bit 0 P, bit 1..3 N1..N3
    Thresholds values;
};

// The request "THR" CR (4 bytes, no LF).
extern const char kThresholdRequest[4];
// How long the reply may take in all.
constexpr uint32_t kThresholdReplyMs = 20000;

// Opens the port, sends the request and reads the reply one byte per read until all four values
// have arrived (then returns them) or kThresholdReplyMs have passed since the request, or a read
// fails (then none). Closes the port in every case.
[[nodiscard]] std::optional<Thresholds> ReadThresholds(CRsUtil& link, TickClock& clock);

// "P-,%03d\r\nN1,%03d\r\nN2,%03d\r\nN3,%03d\r\n" (32 bytes for values of at most three digits).
std::string ThresholdWriteCommand(const Thresholds& t);

// Opens the port, writes `command` with one write and closes it. False when the port could not
// be opened or not every byte was written.
[[nodiscard]] bool WriteThresholdCommand(CRsUtil& link, const std::string& command);

}  // namespace device
