// The CSV importer: header with DATE_MAKE, the "DATA:" line, two column lines, sample lines.
#include "files/CsvImport.h"

#include <cstring>

#include "device/RecordDecoder.h"
#include "files/ImportFields.h"
#include "files/ImportPass.h"

namespace files {

namespace {

// atoi of the characters at positions [from, to] of the line (fewer when the line is shorter).
int FieldAt(const Line& line, size_t from, size_t to) {
    if (from >= line.size) return 0;
    const size_t stop = to + 1 < line.size ? to + 1 : line.size;
    const auto* p = reinterpret_cast<const uint8_t*>(line.text);
    return device::ReadNumber(p + from, p + stop);
}

bool IsDateMake(const Line& line) { return line.size >= 10 && std::memcmp(line.text, "DATE_MAKE:", 10) == 0; }

std::optional<uint64_t> DateMakeTime(const Line& line) {
    CalendarTime t;
    t.year = FieldAt(line, 10, 13);
    t.month = FieldAt(line, 15, 16);
    t.day = FieldAt(line, 18, 19);
    t.hour = FieldAt(line, 21, 22);
    t.minute = FieldAt(line, 24, 25);
    t.second = FieldAt(line, 27, 28);
    return FileTimeOf(t);
}

// Where a reader stands in the file's layout.
class CsvLayout {
public:
    enum class Part { Header, ColumnLines, Data };

    // Advances over one line that is not a sample line; true when the line was one of the
    // layout's (so it is no sample).
    bool Consume(const Line& line) {
        switch (part_) {
        case Part::Header:
            if (line.size == 5 && !line.truncated && std::memcmp(line.text, "DATA:", 5) == 0) {
                part_ = Part::ColumnLines;
                skipped_ = 0;
            }
            return true;
        case Part::ColumnLines:
            if (++skipped_ == 2) part_ = Part::Data;
            return true;
        case Part::Data:
            return false;
        }
        return false;
    }
    Part Where() const { return part_; }

private:
    Part part_ = Part::Header;
    int skipped_ = 0;
};

}  // namespace

ImportResult ImportCsv(ByteSource& source, const ImportOptions& options) {
    ImportResult result;

    CsvLayout layout;
    uint64_t count = 0;
    FileErrorCause error = detail::RunPass(source, options, 0, [&](const Line& line) {
        if (!layout.Consume(line)) ++count;
        return true;
    });
    if (error != FileErrorCause::None) {
        detail::SetReadError(result, error);
        return result;
    }
    if (layout.Where() != CsvLayout::Part::Data) {
        result.status = ImportResult::Status::NoDataLine;
        return result;
    }
    if (!detail::PrepareSecondPass(source, count, options, result)) return result;

    layout = CsvLayout();
    double values[3] = {0.0, 0.0, 0.0};
    detail::SampleSink sink(result, options.maxSamples);
    error = detail::RunPass(source, options, 1, [&](const Line& line) {
        if (layout.Where() == CsvLayout::Part::Header && IsDateMake(line)) {
            if (const auto time = DateMakeTime(line)) result.baseTime = *time;
        }
        if (layout.Consume(line)) return true;
        // Split at every comma; fields after the third are ignored.
        const char* p = line.text;
        const char* end = line.text + line.size;
        for (int axis = 0; axis < 3 && line.size > 0; ++axis) {
            const char* stop = nullptr;
            // A plain number that fills its field needs no search for the comma.
            if (ReadPlainDecimal(p, end, values[axis], stop) && (stop == end || *stop == ',')) {
                if (stop == end) break;
                p = stop + 1;
                continue;
            }
            const char* comma = static_cast<const char*>(std::memchr(p, ',', static_cast<size_t>(end - p)));
            const char* fieldEnd = comma ? comma : end;
            values[axis] = ReadDouble(p, fieldEnd);
            if (!comma) break;
            p = comma + 1;
        }
        return sink.Add(values);
    });
    sink.Finish(error);
    if (result.status == ImportResult::Status::Loaded && layout.Where() != CsvLayout::Part::Data) {
        // The file changed between the passes.
        result.status = ImportResult::Status::NoDataLine;
    }
    return result;
}

}  // namespace files
