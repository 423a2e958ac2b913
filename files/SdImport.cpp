// The SD-card importer: lines classified by length, time lines, 12- and 16-bit sample lines.
#include "files/SdImport.h"

#include "device/RecordDecoder.h"
#include "files/ImportFields.h"
#include "files/ImportPass.h"

namespace files {

namespace {

enum class SdLine { Time, Sample12, Sample16, Other };

SdLine Classify(const Line& line) {
    if (line.truncated) return SdLine::Other;
    if (line.size == 14) return line.text[0] == 'T' && line.text[1] == 'M' ? SdLine::Time : SdLine::Sample12;
    if (line.size == 17) return SdLine::Sample16;
    return SdLine::Other;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// atoi from position `at` of the line; `digits` is the field's usual width, read directly when
// the field holds exactly that many digits.
int32_t NumberAt(const Line& line, size_t at, size_t digits) {
    const char* p = line.text + at;
    const char* end = line.text + line.size;
    if (p + digits == end || (p + digits < end && !IsDigit(p[digits]))) {
        int32_t value = 0;
        size_t i = 0;
        for (; i < digits && IsDigit(p[i]); ++i) value = value * 10 + (p[i] - '0');
        if (i == digits) return value;
    }
    return device::ReadNumber(reinterpret_cast<const uint8_t*>(p), reinterpret_cast<const uint8_t*>(end));
}

// atoi of the two characters at `at`.
int TwoDigits(const Line& line, size_t at) {
    const auto* p = reinterpret_cast<const uint8_t*>(line.text) + at;
    return device::ReadNumber(p, p + 2);
}

std::optional<uint64_t> TimeLineTime(const Line& line) {
    CalendarTime t;
    t.year = 2000 + TwoDigits(line, 2);
    t.month = TwoDigits(line, 4);
    t.day = TwoDigits(line, 6);
    t.hour = TwoDigits(line, 8);
    t.minute = TwoDigits(line, 10);
    t.second = TwoDigits(line, 12);
    return FileTimeOf(t);
}

}  // namespace

ImportResult ImportSd(ByteSource& source, const SdConversion& conversion, const ImportOptions& options) {
    ImportResult result;

    uint64_t count = 0;
    FileErrorCause error = detail::RunPass(source, options, 0, [&](const Line& line) {
        const SdLine kind = Classify(line);
        if (kind == SdLine::Sample12 || kind == SdLine::Sample16) ++count;
        return true;
    });
    if (error != FileErrorCause::None) {
        detail::SetReadError(result, error);
        return result;
    }
    if (!detail::PrepareSecondPass(source, count, options, result)) return result;

    const bool wide = conversion.bit == 16;
    double factor12[3], factor16[3];
    for (int a = 0; a < 3; ++a) {
        factor12[a] = wide ? 1.0 : conversion.kanzan[a];
        factor16[a] = wide ? conversion.kanzan[a] : 0.125;
    }
    detail::SampleSink sink(result, options.maxSamples);
    error = detail::RunPass(source, options, 1, [&](const Line& line) {
        double v[3];
        switch (Classify(line)) {
        case SdLine::Time:
            if (const auto time = TimeLineTime(line)) {
                const uint64_t before = result.samples[0].size() * kFileTimePerSample;
                if (*time > before) result.baseTime = *time - before;
            }
            return true;
        case SdLine::Sample12:
            v[0] = (double(NumberAt(line, 0, 4)) - 2048.0) * factor12[0];
            v[1] = (double(NumberAt(line, 5, 4)) - 2048.0) * factor12[1];
            v[2] = (double(NumberAt(line, 10, 4)) - 2048.0) * factor12[2];
            break;
        case SdLine::Sample16:
            v[0] = (double(NumberAt(line, 0, 5)) - 32768.0) * factor16[0];
            v[1] = (double(NumberAt(line, 6, 5)) - 32768.0) * factor16[1];
            v[2] = (double(NumberAt(line, 12, 5)) - 32768.0) * factor16[2];
            break;
        case SdLine::Other:
            return true;
        }
        return sink.Add(v);
    });
    sink.Finish(error);
    return result;
}

}  // namespace files
