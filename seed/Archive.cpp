// The live archive's segments, records and day files.
#include "seed/Archive.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "seed/StationXml.h"

namespace seed {

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char separator = folder.find_first_of("\\:") != std::string::npos ? '\\' : '/';
    const char last = folder.back();
    return last == '\\' || last == '/' ? folder + name : folder + separator + name;
}

std::string DayFileName(const ChannelId& id, Ticks time) {
    const UtcFields f = FieldsOf(time);
    char tail[24];
    std::snprintf(tail, sizeof tail, ".D.%04d.%03d", f.year, f.dayOfYear);
    return id.network + "." + id.station + "." + id.location + "." + id.channel + tail;
}

std::string DayFilePath(const std::string& root, const ChannelId& id, Ticks time) {
    char year[8];
    std::snprintf(year, sizeof year, "%04d", FieldsOf(time).year);
    std::string path = JoinPath(root, year);
    path = JoinPath(path, id.network);
    path = JoinPath(path, id.station);
    path = JoinPath(path, id.channel + ".D");
    return JoinPath(path, DayFileName(id, time));
}

std::string StationXmlName(const ArchiveCodes& codes) { return codes.network + "." + codes.station + ".xml"; }

ArchiveWriter::ArchiveWriter(ArchiveFiles& files) : files_(files) {}

bool ArchiveWriter::Start(const std::string& root, const ArchiveCodes& codes, const std::array<double, 3>& galPerCount,
                          Ticks now) {
    root_ = root;
    codes_ = codes;
    channels_.clear();
    channels_.reserve(3);
    for (int axis = 0; axis < 3; ++axis) {
        channels_.emplace_back([this, axis](const EncodedData& data) { WriteRecord(axis, data); });
    }
    clock_.Reset();
    held_.clear();
    held_.reserve(static_cast<size_t>(SampleClock::kSettle));
    openDay_ = INT64_MIN;
    recordsWritten_ = 0;
    failed_ = false;
    running_ = false;

    if (!files_.MakeFolders(root)) {
        Fail(true, root);
        return false;
    }
    const std::string xmlPath = JoinPath(root, StationXmlName(codes));
    const std::string xml = StationXml(codes, galPerCount, now);
    std::unique_ptr<PendingFile> file = files_.Create(xmlPath);
    if (!file) {
        Fail(true, xmlPath);
        return false;
    }
    if (!file->Write(reinterpret_cast<const uint8_t*>(xml.data()), xml.size()) || !file->Commit()) {
        Fail(false, xmlPath);
        return false;
    }
    running_ = true;
    return true;
}

void ArchiveWriter::Add(const CountBatch& batch) {
    for (size_t i = 0; i < batch.n && running_; ++i) {
        const Ticks before = clock_.Start();
        const SampleClock::Placement p = clock_.Place(batch.arrival[i], batch.breakBefore[i] != 0);
        if (p.newSegment) {
            FileHeld(before);
            FlushAll();
        }
        const HeldSample sample{{batch.counts[0][i], batch.counts[1][i], batch.counts[2][i]}, p.index};
        if (!clock_.Settled()) {
            held_.push_back(sample);
            continue;
        }
        if (!held_.empty()) FileHeld(clock_.Start());
        File(sample);
    }
}

void ArchiveWriter::File(const HeldSample& sample) {
    const int64_t day = DayOf(segmentStart_ + sample.index * kTicksPerSample);
    if (day != openDay_) {
        FlushAll();
        openDay_ = day;
    }
    for (size_t axis = 0; axis < 3; ++axis) channels_[axis].encoder.Add(sample.counts[axis], sample.index);
}

void ArchiveWriter::FileHeld(Ticks start) {
    segmentStart_ = start;
    for (const HeldSample& sample : held_) File(sample);
    held_.clear();
}

void ArchiveWriter::Stop() {
    if (running_) {
        FileHeld(clock_.Start());
        FlushAll();
    }
    running_ = false;
}

void ArchiveWriter::FlushAll() {
    for (Channel& channel : channels_) channel.encoder.Flush();
}

void ArchiveWriter::WriteRecord(int axis, const EncodedData& data) {
    if (!running_) return;
    Channel& channel = channels_[static_cast<size_t>(axis)];
    const Ticks start = segmentStart_ + data.firstIndex * kTicksPerSample;
    const ChannelId id = codes_.Channel(axis);
    const std::string path = DayFilePath(root_, id, start);
    if (path != channel.path) {
        // A day file written before (an earlier measurement that day) goes on with its numbers.
        channel.path = path;
        channel.nextSequence = 1;
        uint8_t last[kRecordLength];
        if (files_.ReadTail(path, last, kRecordLength)) {
            if (const int sequence = ReadSequence(last)) channel.nextSequence = NextSequence(sequence);
        }
    }
    uint8_t record[kRecordLength];
    RecordHeader header;
    header.sequence = channel.nextSequence;
    header.id = id;
    header.start = start;
    header.samples = data.samples;
    header.encoding = Encoding::Steim2;
    WriteHeader(record, header);
    std::memcpy(record + kDataOffset, data.bytes, kDataBytes);
    const FileResult result = files_.Append(path, record, kRecordLength);
    if (result != FileResult::Ok) {
        Fail(result == FileResult::OpenFailed, path);
        return;
    }
    channel.nextSequence = NextSequence(channel.nextSequence);
    ++recordsWritten_;
}

void ArchiveWriter::Fail(bool open, const std::string& path) {
    running_ = false;
    if (failed_) return;
    failed_ = true;
    const auto& report = open ? reports.openFailed : reports.writeFailed;
    if (report) report(path);
}

}  // namespace seed
