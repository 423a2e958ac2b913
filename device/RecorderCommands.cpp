// Clock command, threshold request and reply, threshold write.
#include "device/RecorderCommands.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace device {

const char* const kTextClockFailed = "時刻転送に失敗しました。";
const char* const kTextThresholdReadError = "閾値　モニタエラー";
const char* const kTextThresholdWriteError = "閾値　転送エラー";
const char kThresholdRequest[4] = {'T', 'H', 'R', '\r'};

std::string ClockSentText(const std::string& command) {
    return "時刻転送しました。 [" + command + "]";
}

std::string ClockCommand(int year, int month, int day, int hour, int minute, int second) {
    char date[32];
    char time[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, day);
    std::snprintf(time, sizeof time, "%02d-%02d-%02d", hour, minute, second);
    const std::string full = std::string(date) + "-" + time;
    return full.substr(2);  // the century's two digits are not sent
}

namespace {

// Opens the link's port, writes `data` in one call and closes the port; the bytes written, or
// none when the port could not be opened.
std::optional<uint32_t> WriteOnce(CRsUtil& link, const std::string& data) {
    if (!link.OpenPort(true)) return std::nullopt;
    const IoResult r = link.Port().Write(data.data(), static_cast<uint32_t>(data.size()));
    link.ClosePort();
    return r.bytes;
}

}  // namespace

bool SendClock(CRsUtil& link, const std::string& command) {
    const std::optional<uint32_t> written = WriteOnce(link, command);
    return written && *written >= command.size();
}

void ThresholdReplyReader::Feed(uint8_t byte) {
    if (byte == '\n') {
        EndLine();
        return;
    }
    line[length % sizeof line] = static_cast<char>(byte);
    ++length;
}

void ThresholdReplyReader::EndLine() {
    // Only positions this line has written count; a short line never reads an older line's bytes.
    const size_t valid = std::min(length, sizeof line);
    length = 0;
    if (valid < 2) return;
    int bit = -1;
    int* target = nullptr;
    if (line[0] == 'P' && line[1] == '-') {
        bit = 0;
        target = &values.p;
    } else if (line[0] == 'N' && line[1] >= '1' && line[1] <= '3') {
        bit = line[1] - '0';
        target = line[1] == '1' ? &values.n1 : line[1] == '2' ? &values.n2 : &values.n3;
    }
    if (target == nullptr) return;
    char digits[4] = {};
    for (size_t i = 3; i < 6 && i < valid; ++i) digits[i - 3] = line[i];
    *target = std::atoi(digits);
    received |= 1u << bit;
}

std::optional<Thresholds> ReadThresholds(CRsUtil& link, TickClock& clock) {
    if (!link.OpenPort(true)) return std::nullopt;
    SerialPort& port = link.Port();
    (void)port.Write(kThresholdRequest, sizeof kThresholdRequest);
    const uint32_t start = clock.Now();
    ThresholdReplyReader reader;
    bool ok = false;
    for (;;) {
        const uint32_t before = clock.Now();
        uint8_t byte = 0;
        const IoResult r = port.Read(&byte, 1);
        if (!r.ok) break;
        if (r.bytes == 0) {
            // A port that reports silence at once (not after its read time-out) must not spin.
            const uint32_t took = clock.Now() - before;
            if (took < CRsUtil::kMinEmptyReadMs) clock.Sleep(CRsUtil::kMinEmptyReadMs - took);
        } else {
            reader.Feed(byte);
        }
        // Checked after every read, so a line that never ends cannot hold the dialog for ever.
        if (reader.Complete()) {
            ok = true;
            break;
        }
        if (static_cast<uint32_t>(clock.Now() - start) >= kThresholdReplyMs) break;
    }
    link.ClosePort();
    if (!ok) return std::nullopt;
    return reader.Values();
}

std::string ThresholdWriteCommand(const Thresholds& t) {
    char text[96];
    std::snprintf(text, sizeof text, "P-,%03d\r\nN1,%03d\r\nN2,%03d\r\nN3,%03d\r\n", t.p, t.n1, t.n2, t.n3);
    return text;
}

bool WriteThresholdCommand(CRsUtil& link, const std::string& command) {
    const std::optional<uint32_t> written = WriteOnce(link, command);
    return written && *written >= command.size();
}

}  // namespace device
