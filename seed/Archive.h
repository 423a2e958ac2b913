// The live archive: every received sample of the three axes as Steim-2 compressed counts in
// 512-byte miniSEED records, in day files of the SDS layout
//   ROOT/YEAR/NET/STA/CHAN.D/NET.STA.LOC.CHAN.D.YEAR.DOY
// with a StationXML description at the root. At most one record per channel is held in memory (the
// first 4 s of a segment wait as plain counts until its start has settled); a record is appended
// to its day file when it is full, when reception breaks, at UTC midnight and at the stop.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "seed/ArchiveFiles.h"
#include "seed/MiniSeed.h"
#include "seed/SampleClock.h"

namespace seed {

struct ArchiveCodes {
    std::string network = "XX";
    std::string station = "QRV01";
    std::string location = "00";
    std::array<std::string, 3> channels{{"HNE", "HNN", "HNZ"}};  // X, Y, Z

    [[nodiscard]] ChannelId Channel(int axis) const {
        return {network, station, location, channels[static_cast<size_t>(axis)]};
    }
};

// "NET.STA.LOC.CHAN.D.YEAR.DOY" and its folder below the root.
[[nodiscard]] std::string DayFileName(const ChannelId& id, Ticks time);
[[nodiscard]] std::string DayFilePath(const std::string& root, const ChannelId& id, Ticks time);
// "NET.STA.xml": the StationXML file at the root.
[[nodiscard]] std::string StationXmlName(const ArchiveCodes& codes);

// One batch of received samples: counts (the AD value minus the offset) per axis, the PC time
// each arrived, and whether reception broke just before it (all of length n).
struct CountBatch {
    const int32_t* counts[3] = {nullptr, nullptr, nullptr};
    const Ticks* arrival = nullptr;
    const uint8_t* breakBefore = nullptr;
    size_t n = 0;
};

// Where failures go, once per measurement each way; the archive then writes nothing more until
// the next start.
struct ArchiveReports {
    std::function<void(const std::string& path)> openFailed;   // a file or folder could not be made
    std::function<void(const std::string& path)> writeFailed;  // a record could not be written
};

class ArchiveWriter {
public:
    explicit ArchiveWriter(ArchiveFiles& files);

    // A measurement starts with the archive on: writes the StationXML file (gal per count of each
    // axis) and begins new segments. False when the root or the description cannot be written
    // (reported; the archive stays off).
    bool Start(const std::string& root, const ArchiveCodes& codes, const std::array<double, 3>& galPerCount,
               Ticks now);
    // Adds a batch; nothing while the archive is off.
    void Add(const CountBatch& batch);
    // The measurement stops: every held record is written. The archive is off afterwards.
    void Stop();

    [[nodiscard]] bool Running() const { return running_; }
    // Records written since the start (all channels), and the samples they held.
    [[nodiscard]] uint64_t RecordsWritten() const { return recordsWritten_; }

    ArchiveReports reports;

private:
    struct Channel {
        explicit Channel(EncodedSink sink) : encoder(std::move(sink)) {}
        Steim2Encoder encoder;
        std::string path;  // day file of the last record written
        int nextSequence = 1;
    };

    struct HeldSample {
        int32_t counts[3];
        int64_t index;
    };

    // Files one sample of the segment starting at segmentStart_ under its UTC day.
    void File(const HeldSample& sample);
    // Files the held samples of the segment starting at `start`.
    void FileHeld(Ticks start);
    void FlushAll();
    void WriteRecord(int axis, const EncodedData& data);
    void Fail(bool open, const std::string& path);

    ArchiveFiles& files_;
    std::string root_;
    ArchiveCodes codes_;
    std::vector<Channel> channels_;
    SampleClock clock_;
    bool running_ = false;
    bool failed_ = false;          // a failure was reported since the start
    int64_t openDay_ = INT64_MIN;  // UTC day of the records being filled
    Ticks segmentStart_ = 0;       // start of the segment whose records are being filled
    uint64_t recordsWritten_ = 0;
    std::vector<HeldSample> held_;  // the current segment's samples while its start may move
};

}  // namespace seed
