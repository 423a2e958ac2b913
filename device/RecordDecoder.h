// Layout and decoding of the recorder's fixed-length stream records (12-bit: 16 bytes, 16-bit: 19).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "device/SampleRecord.h"

namespace device {

constexpr uint8_t kLineFeed = 0x0A;
constexpr int kRecordLength12 = 16;
constexpr int kRecordLength16 = 19;
constexpr int32_t kMidScale12 = 2048;
constexpr int32_t kMidScale16 = 32768;
constexpr size_t kTimeTextMax = 14;  // a time report's text is at most the record's first 14 bytes

// Record length for the BIT setting: 19 when it is 16, 16 for anything else.
constexpr int RecordLength(int bit) { return bit == 16 ? kRecordLength16 : kRecordLength12; }

// Low-pass frequency in Hz for a code byte; 0 for an unrecognised code.
double LowPassHz(uint8_t code, int bit);

// Reads a number from [p, end) the way atoi does (white space, one sign, digits up to the first
// non-digit; no digits give 0), but never past `end`, and saturating at the int32 range where atoi
// would overflow.
int32_t ReadNumber(const uint8_t* p, const uint8_t* end);

// True when `count` bytes were read of a record of `length` bytes and the last one is a line feed.
bool IsCompleteRecord(const uint8_t* record, size_t count, int length);

struct DecodedRecord {
    bool isTime = false;        // positions 0 and 1 are "TM"
    std::string timeText;       // time report: first 14 bytes, cut at a zero byte
    SampleRecord sample;        // sample record: the three fields minus the mid-scale offset
    double lowPassHz = 0.0;     // sample record: from its code byte
};

// Decodes a complete record (IsCompleteRecord holds) of the format chosen by `bit`.
DecodedRecord DecodeRecord(const uint8_t* record, int bit);

}  // namespace device
