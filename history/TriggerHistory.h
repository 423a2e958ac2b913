// The trigger history's portable core: the events of the trigger files in the Trig.dt folder, how
// files group into recordings, reading a recording's events (peaks, duration, intensity), the
// sorted list the history window shows, and its export as CSV text.
#pragma once

#include <atomic>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "analysis/SeismicIntensity.h"
#include "files/Folder.h"
#include "files/ImportFields.h"

namespace app {

// One trigger recording.
struct TriggerEvent {
    std::string group;               // name of its first file: the key of its group
    std::vector<std::string> files;  // names of the files holding its samples, first file first
    std::uint64_t startTime = 0;     // local time of its first sample in 100-ns units since 1601, from
                                     // the first file's DATE_MAKE, else its name; 0 when neither
    long long samples = 0;           // sample lines, 10 ms apart
    double peak[3] = {0.0, 0.0, 0.0};  // largest |value| of X, Y, Z in gal
    double vectorPeak = 0.0;         // largest sqrt(x² + y² + z²) in gal
    bool hasIntensity = false;       // false: too short, too long, no motion or bad samples
    int intensityTenths = 0;         // the intensity in tenths when hasIntensity

    bool operator==(const TriggerEvent& o) const;
};

// The time of a recording's file name "YYYYMMDD_hhmmss…" (its first 15 characters) in 100-ns units
// since 1601; 0 when the name does not start with a valid date and time that way.
[[nodiscard]] std::uint64_t FileNameTime(const std::string& name);
// The calendar date and time of such a time.
[[nodiscard]] files::CalendarTime CalendarOf(std::uint64_t fileTime);

// A recording's files: its first file "B.csv" and the parts "B-1.csv", "B-2.csv", … in order.
struct GroupFiles {
    std::string key;                      // name of the first file
    std::vector<files::FileStamp> files;  // first file first
};

// Groups the ".csv" files of a listing (any case of the extension): "B-n.csv" is part n of "B.csv"
// when that file is listed, otherwise a group of its own. Newest first (key descending).
[[nodiscard]] std::vector<GroupFiles> GroupTriggerFiles(const std::vector<files::FileStamp>& listing);

enum class GroupRead {
    Ok,          // events filled (none when the first file is no waveform file)
    Unreadable,  // a file could not be opened or read (it may be in use); try again later
    Cancelled,
};

// Reads a group's files from `folder` the way the CSV import reads them and fills `events` with the
// recording they hold (none when the first file is no waveform file; a part that is none adds
// nothing). `cancel` stops the reading at its next block.
[[nodiscard]] GroupRead ReadGroupEvents(const std::string& folder, const GroupFiles& group,
                                        IntensityCalculator& calculator, std::vector<TriggerEvent>& events,
                                        const std::atomic<bool>& cancel);

// What the history worker hands to the user-interface thread.
struct HistoryUpdate {
    bool reset = false;   // forget every group before applying this update
    std::string folder;   // the Trig.dt folder the groups belong to
    std::vector<std::pair<std::string, std::vector<TriggerEvent>>> groups;  // groups replaced (none or one event)
    std::vector<std::string> removed;                                       // groups gone
};

// Columns of the history list, in display order.
enum class HistoryColumn { Time, Duration, File, PeakX, PeakY, PeakZ, PeakVector, Intensity, Class, Count };
constexpr int kHistoryColumnCount = static_cast<int>(HistoryColumn::Count);

// Column caption (code page 932).
[[nodiscard]] const char* HistoryColumnCaption(HistoryColumn column);
// The text of one cell: "2024/05/06 12:34:56", "12.34" s, the file name (with " (+n)" for n further
// parts), peaks "%.2f", "5.1", "5弱"; "-" where a value is missing.
[[nodiscard]] std::string HistoryCellText(const TriggerEvent& event, HistoryColumn column);

// The events of all groups, sorted for display; newest first until the operator picks a column.
class TriggerHistoryList {
public:
    void Apply(const HistoryUpdate& update);
    // Sorts by `column`; the column already sorted by flips its direction. Time and the values
    // start descending (newest, largest first), the file column ascending.
    void SortBy(HistoryColumn column);
    HistoryColumn SortColumn() const { return column_; }
    bool Ascending() const { return ascending_; }

    const std::vector<const TriggerEvent*>& Rows();
    const std::string& Folder() const { return folder_; }
    std::size_t Size() const;

private:
    std::map<std::string, std::vector<TriggerEvent>> groups_;
    std::vector<const TriggerEvent*> rows_;
    bool rowsValid_ = false;
    HistoryColumn column_ = HistoryColumn::Time;
    bool ascending_ = false;
    std::string folder_;
};

// The rows as CSV text in code page 932: the captions, then one line per row, CR LF line ends;
// fields with a comma, a quote or a line end are quoted.
[[nodiscard]] std::string HistoryCsv(const std::vector<const TriggerEvent*>& rows);

}  // namespace app
