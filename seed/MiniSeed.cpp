// Record headers and the two encodings of the archive and the export.
#include "seed/MiniSeed.h"

#include <algorithm>
#include <cstring>

namespace seed {

namespace {

void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}

void Put32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}

// A code left-justified in its field, padded with spaces.
void PutCode(uint8_t* p, const std::string& code, size_t width) {
    for (size_t i = 0; i < width; ++i) p[i] = i < code.size() ? static_cast<uint8_t>(code[i]) : ' ';
}

struct Layout {
    int count;      // differences in one word
    int bits;       // bits of each
    uint32_t nibble;
    uint32_t dnib;  // the word's top two bits for nibbles 2 and 3
};
// Densest first; 4 x 8 bits has no dnib (nibble 1 uses the whole word).
constexpr Layout kLayouts[] = {{7, 4, 3, 2}, {6, 5, 3, 1}, {5, 6, 3, 0}, {4, 8, 1, 0},
                               {3, 10, 2, 3}, {2, 15, 2, 2}, {1, 30, 2, 1}};

bool Fits(int32_t d, int bits) {
    const int32_t half = int32_t{1} << (bits - 1);
    return d >= -half && d < half;
}

// Word position of the n-th data word: frame 0 holds control, X0 and Xn before 13 data words;
// the other frames hold control and 15.
int WordOfData(int n) { return n < 13 ? 3 + n : 16 * (1 + (n - 13) / 15) + 1 + (n - 13) % 15; }

}  // namespace

void WriteHeader(uint8_t* r, const RecordHeader& h) {
    std::memset(r, 0, kDataOffset);
    const int seq = std::clamp(h.sequence, 1, kMaxSequence);
    for (int i = 5, v = seq; i >= 0; --i, v /= 10) r[i] = static_cast<uint8_t>('0' + v % 10);
    r[6] = 'D';
    r[7] = ' ';
    PutCode(r + 8, h.id.station, 5);
    PutCode(r + 13, h.id.location, 2);
    PutCode(r + 15, h.id.channel, 3);
    PutCode(r + 18, h.id.network, 2);
    const UtcFields f = FieldsOf(h.start);
    Put16(r + 20, static_cast<uint32_t>(f.year));
    Put16(r + 22, static_cast<uint32_t>(f.dayOfYear));
    r[24] = static_cast<uint8_t>(f.hour);
    r[25] = static_cast<uint8_t>(f.minute);
    r[26] = static_cast<uint8_t>(f.second);
    Put16(r + 28, static_cast<uint32_t>(f.tenthMs));
    Put16(r + 30, static_cast<uint32_t>(std::clamp(h.samples, 0, 65535)));
    Put16(r + 32, kSampleRate);  // rate factor: samples per second
    Put16(r + 34, 1);            // multiplier
    r[39] = 1;                   // one blockette follows
    Put16(r + 44, kDataOffset);
    Put16(r + 46, 48);
    Put16(r + 48, 1000);  // blockette 1000: encoding, word order, record length
    r[52] = static_cast<uint8_t>(h.encoding);
    r[53] = 1;  // big-endian
    r[54] = 9;  // 2^9 = 512 bytes
}

int ReadSequence(const uint8_t* r) {
    int v = 0;
    for (int i = 0; i < 6; ++i) {
        if (r[i] < '0' || r[i] > '9') return 0;
        v = v * 10 + (r[i] - '0');
    }
    return v;
}

void Steim2Encoder::Add(int32_t value, int64_t index) {
    value = std::clamp(value, -kLimit, kLimit);
    if (pendingCount_ == 0) pendingIndex_ = index;
    pendingValue_[pendingCount_] = value;
    // The first difference of a run is not used by readers; 0 keeps it in the densest layout.
    pendingDiff_[pendingCount_] = hasPrevious_ ? value - previous_ : 0;
    previous_ = value;
    hasPrevious_ = true;
    if (++pendingCount_ == 7) PackWord(7);
}

void Steim2Encoder::Flush() {
    while (pendingCount_ > 0) PackWord(pendingCount_);
    if (samples_ > 0) Emit();
    hasPrevious_ = false;
}

void Steim2Encoder::PackWord(int available) {
    const Layout* layout = &kLayouts[6];
    for (const Layout& l : kLayouts) {
        if (l.count > available) continue;
        bool fits = true;
        for (int i = 0; i < l.count && fits; ++i) fits = Fits(pendingDiff_[i], l.bits);
        if (fits) {
            layout = &l;
            break;
        }
    }
    uint32_t word = 0;
    for (int i = 0; i < layout->count; ++i) {
        const uint32_t field = static_cast<uint32_t>(pendingDiff_[i]) & ((uint32_t{1} << layout->bits) - 1);
        word |= field << ((layout->count - 1 - i) * layout->bits);
    }
    if (layout->nibble != 1) word |= layout->dnib << 30;

    if (samples_ == 0) {
        firstIndex_ = pendingIndex_;
        words_[1] = static_cast<uint32_t>(pendingValue_[0]);  // X0: the first sample
    }
    const int at = WordOfData(dataWords_++);
    words_[static_cast<size_t>(at)] = word;
    words_[static_cast<size_t>(at & ~15)] |= layout->nibble << (30 - 2 * (at & 15));
    samples_ += layout->count;
    words_[2] = static_cast<uint32_t>(pendingValue_[layout->count - 1]);  // Xn: the last sample

    pendingCount_ -= layout->count;
    for (int i = 0; i < pendingCount_; ++i) {
        pendingValue_[i] = pendingValue_[i + layout->count];
        pendingDiff_[i] = pendingDiff_[i + layout->count];
    }
    pendingIndex_ += layout->count;
    if (dataWords_ == kDataWords) Emit();
}

void Steim2Encoder::Emit() {
    uint8_t bytes[kDataBytes];
    for (size_t i = 0; i < words_.size(); ++i) Put32(bytes + 4 * i, words_[i]);
    EncodedData data{bytes, samples_, firstIndex_};
    words_.fill(0);
    dataWords_ = 0;
    samples_ = 0;
    sink_(data);
}

void Float64Encoder::Add(double value, int64_t index) {
    if (samples_ == 0) firstIndex_ = index;
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    uint8_t* p = bytes_.data() + 8 * samples_;
    Put32(p, static_cast<uint32_t>(bits >> 32));
    Put32(p + 4, static_cast<uint32_t>(bits));
    if (++samples_ == kPerRecord) Flush();
}

void Float64Encoder::Flush() {
    if (samples_ == 0) return;
    EncodedData data{bytes_.data(), samples_, firstIndex_};
    samples_ = 0;
    sink_(data);
    bytes_.fill(0);
}

}  // namespace seed
