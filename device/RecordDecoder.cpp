// Decoding of the recorder's stream records.
#include "device/RecordDecoder.h"

#include <cctype>
#include <cstdint>

namespace device {

double LowPassHz(uint8_t code, int bit) {
    const bool wide = bit == 16;
    switch (code) {
    case ':': return 5.0;
    case ';': return wide ? 10.0 : 40.0;
    case '/': return wide ? 20.0 : 10.0;
    default: return 0.0;
    }
}

int32_t ReadNumber(const uint8_t* p, const uint8_t* end) {
    while (p < end && std::isspace(static_cast<unsigned char>(*p))) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    int64_t value = 0;
    constexpr int64_t kLimit = int64_t{INT32_MAX} + 1;
    while (p < end && std::isdigit(static_cast<unsigned char>(*p))) {
        if (value < kLimit) value = value * 10 + (*p - '0');
        ++p;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

bool IsCompleteRecord(const uint8_t* record, size_t count, int length) {
    return length > 0 && count == static_cast<size_t>(length) && record[length - 1] == kLineFeed;
}

namespace {

// Field minus offset, kept inside int32 when a saturated field is shifted.
int32_t Centred(int32_t field, int32_t offset) {
    const int64_t v = int64_t{field} - offset;
    return v < INT32_MIN ? INT32_MIN : static_cast<int32_t>(v);
}

}  // namespace

DecodedRecord DecodeRecord(const uint8_t* record, int bit) {
    DecodedRecord out;
    const int length = RecordLength(bit);
    const uint8_t* end = record + length;
    if (record[0] == 'T' && record[1] == 'M') {
        out.isTime = true;
        size_t n = 0;
        while (n < kTimeTextMax && record[n] != 0) ++n;
        out.timeText.assign(reinterpret_cast<const char*>(record), n);
        return out;
    }
    if (bit == 16) {
        out.lowPassHz = LowPassHz(record[5], bit);
        out.sample.x = Centred(ReadNumber(record + 0, end), kMidScale16);
        out.sample.y = Centred(ReadNumber(record + 6, end), kMidScale16);
        out.sample.z = Centred(ReadNumber(record + 12, end), kMidScale16);
    } else {
        out.lowPassHz = LowPassHz(record[4], bit);
        out.sample.x = Centred(ReadNumber(record + 0, end), kMidScale12);
        out.sample.y = Centred(ReadNumber(record + 5, end), kMidScale12);
        out.sample.z = Centred(ReadNumber(record + 10, end), kMidScale12);
    }
    return out;
}

}  // namespace device
