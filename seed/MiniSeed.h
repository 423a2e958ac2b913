// miniSEED 2.4 data records of 512 bytes: the fixed header with blockette 1000, Steim-2
// compressed integer data and 64-bit float data. Everything big-endian.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "seed/SeedTime.h"

namespace seed {

constexpr size_t kRecordLength = 512;
constexpr size_t kDataOffset = 64;  // 48-byte fixed header, 8-byte blockette 1000, padding
constexpr size_t kDataBytes = kRecordLength - kDataOffset;
constexpr int kSampleRate = 100;
constexpr int kMaxSequence = 999999;  // sequence numbers run 1..999999 and wrap to 1

enum class Encoding : uint8_t { Float64 = 5, Steim2 = 11 };

// Network, station, location and channel codes of one channel: upper-case letters and digits of
// at most 2, 5, 2 and 3 characters (docs/MSEED.md).
struct ChannelId {
    std::string network, station, location, channel;
};

struct RecordHeader {
    int sequence = 1;  // 1..999999
    ChannelId id;
    Ticks start = 0;   // time of the first sample
    int samples = 0;   // 0..65535
    Encoding encoding = Encoding::Steim2;
};

// Writes the fixed header and blockette 1000 into record[0..kDataOffset).
void WriteHeader(uint8_t* record, const RecordHeader& header);
// The sequence number of a record's header, or 0 when its six digits are not one.
[[nodiscard]] int ReadSequence(const uint8_t* record);
// The number after `sequence`, wrapping after 999999.
[[nodiscard]] constexpr int NextSequence(int sequence) { return sequence >= kMaxSequence ? 1 : sequence + 1; }

// Samples of one record's data area, for the record writers below: the data bytes and the
// number of samples, and the index (counted by the caller) of its first sample.
struct EncodedData {
    const uint8_t* bytes = nullptr;  // kDataBytes bytes
    int samples = 0;
    int64_t firstIndex = 0;
};
using EncodedSink = std::function<void(const EncodedData& data)>;

// Steim-2 compression of one channel into data areas of kDataBytes, sample by sample. Holds at
// most one data area and six samples not yet packed; hands every full area to the sink.
// Differences are packed greedily, the densest of the seven layouts that fits the next ones.
class Steim2Encoder {
public:
    // Values must lie within +-2^28 so that every difference fits 30 bits; larger ones are clamped
    // (the recorder's counts never come near).
    static constexpr int32_t kLimit = (1 << 28) - 1;
    static constexpr int kWords = 7 * 16;  // 7 frames of 16 words
    static constexpr int kDataWords = 7 * 15 - 2;  // without the control words, X0 and Xn

    explicit Steim2Encoder(EncodedSink sink) : sink_(std::move(sink)) {}

    // Adds the sample with index `index` (the caller's count; consecutive within a run).
    void Add(int32_t value, int64_t index);
    // Packs what is pending and hands over the last, partly filled area. The next sample starts
    // a new run: its difference is not taken against the previous one.
    void Flush();
    // Samples added and not yet handed over.
    int Held() const { return samples_ + pendingCount_; }

private:
    void PackWord(int available);
    void Emit();

    EncodedSink sink_;
    std::array<uint32_t, kWords> words_{};
    int dataWords_ = 0;  // data words used, 0..kDataWords
    int samples_ = 0;    // samples packed into words_
    int64_t firstIndex_ = 0;
    int32_t pendingValue_[7]{};
    int32_t pendingDiff_[7]{};
    int64_t pendingIndex_ = 0;  // index of pendingValue_[0]
    int pendingCount_ = 0;
    bool hasPrevious_ = false;
    int32_t previous_ = 0;
};

// 64-bit floats in data areas of 56 samples, for the CSV export.
class Float64Encoder {
public:
    static constexpr int kPerRecord = static_cast<int>(kDataBytes / 8);
    explicit Float64Encoder(EncodedSink sink) : sink_(std::move(sink)) {}
    void Add(double value, int64_t index);
    void Flush();

private:
    EncodedSink sink_;
    std::array<uint8_t, kDataBytes> bytes_{};
    int samples_ = 0;
    int64_t firstIndex_ = 0;
};

}  // namespace seed
