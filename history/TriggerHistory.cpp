// Trigger history core: grouping of the trigger files, events with peaks and intensity, the
// sorted list and its CSV text.
#include "history/TriggerHistory.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>

#include "files/CsvImport.h"
#include "files/StdioSource.h"

namespace app {
namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// "name" without ".csv" (any case), or "" when it does not end that way or is only the extension.
std::string CsvStem(const std::string& name) {
    if (name.size() <= 4 || Lower(name.substr(name.size() - 4)) != ".csv") return "";
    return name.substr(0, name.size() - 4);
}

// Part number n of a stem "B-n" (n of 1 to 9 digits, not starting with 0), else 0.
int PartNumber(const std::string& stem, std::string& base) {
    const std::size_t dash = stem.rfind('-');
    if (dash == std::string::npos || dash == 0) return 0;
    const std::string digits = stem.substr(dash + 1);
    if (digits.empty() || digits.size() > 9 || digits[0] == '0') return 0;
    for (char c : digits)
        if (c < '0' || c > '9') return 0;
    base = stem.substr(0, dash);
    return std::atoi(digits.c_str());
}

// Collects a recording's samples file by file: peaks as they come, samples kept for the intensity
// up to the longest computable record.
class EventCollector {
public:
    void Add(const std::vector<double> (&axes)[3]) {
        const std::size_t n = axes[0].size();
        for (std::size_t i = 0; i < n; ++i) {
            const double v[3] = {axes[0][i], axes[1][i], axes[2][i]};
            double sum = 0.0;
            bool finite = true;
            for (int a = 0; a < 3; ++a) {
                if (!std::isfinite(v[a])) {
                    finite = false;
                    continue;
                }
                event.peak[a] = std::max(event.peak[a], std::fabs(v[a]));
                sum += v[a] * v[a];
            }
            if (finite) event.vectorPeak = std::max(event.vectorPeak, std::sqrt(sum));
        }
        event.samples += static_cast<long long>(n);
        // Beyond the longest computable record the samples are no longer kept; the event then has
        // no intensity, but its peaks and duration still count every sample.
        if (static_cast<std::size_t>(event.samples) <= kMaxIntensitySamples)
            for (int a = 0; a < 3; ++a) kept_[a].insert(kept_[a].end(), axes[a].begin(), axes[a].end());
    }

    void Finish(IntensityCalculator& calculator) {
        const std::size_t n = kept_[0].size();
        if (static_cast<long long>(n) != event.samples) return;
        const IntensityResult r = calculator.Compute(kept_[0].data(), kept_[1].data(), kept_[2].data(), n);
        event.hasIntensity = r.valid;
        event.intensityTenths = r.valid ? r.tenths : 0;
    }

    TriggerEvent event;

private:
    std::vector<double> kept_[3];
};

// Days since 1 January 1970 to a civil date (proleptic Gregorian).
void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

// -1, 0 or 1 by one column, ascending.
int CompareBy(const TriggerEvent& a, const TriggerEvent& b, HistoryColumn column) {
    auto order = [](auto x, auto y) { return x < y ? -1 : (y < x ? 1 : 0); };
    switch (column) {
    case HistoryColumn::Time: return order(a.startTime, b.startTime);
    case HistoryColumn::Duration: return order(a.samples, b.samples);
    case HistoryColumn::File: return order(a.group, b.group);
    case HistoryColumn::PeakX: return order(a.peak[0], b.peak[0]);
    case HistoryColumn::PeakY: return order(a.peak[1], b.peak[1]);
    case HistoryColumn::PeakZ: return order(a.peak[2], b.peak[2]);
    case HistoryColumn::PeakVector: return order(a.vectorPeak, b.vectorPeak);
    case HistoryColumn::Intensity:
    case HistoryColumn::Class: {
        // Events without an intensity sort below every value.
        const int byPresence = order(a.hasIntensity, b.hasIntensity);
        return byPresence ? byPresence : order(a.intensityTenths, b.intensityTenths);
    }
    default: return 0;
    }
}

std::string Quoted(const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string out = "\"";
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace

bool TriggerEvent::operator==(const TriggerEvent& o) const {
    return group == o.group && files == o.files && startTime == o.startTime && samples == o.samples &&
           peak[0] == o.peak[0] && peak[1] == o.peak[1] && peak[2] == o.peak[2] && vectorPeak == o.vectorPeak &&
           hasIntensity == o.hasIntensity && (!hasIntensity || intensityTenths == o.intensityTenths);
}

std::vector<GroupFiles> GroupTriggerFiles(const std::vector<files::FileStamp>& listing) {
    std::map<std::string, std::size_t> byStem;  // lower-case stem → index in listing
    for (std::size_t i = 0; i < listing.size(); ++i) {
        const std::string stem = CsvStem(listing[i].name);
        if (!stem.empty()) byStem.emplace(Lower(stem), i);
    }
    std::map<std::string, GroupFiles> groups;
    std::map<std::string, std::vector<std::pair<int, std::size_t>>> parts;  // group key → (n, index)
    for (std::size_t i = 0; i < listing.size(); ++i) {
        const std::string stem = CsvStem(listing[i].name);
        if (stem.empty()) continue;
        std::string base;
        const int n = PartNumber(stem, base);
        const auto owner = n > 0 ? byStem.find(Lower(base)) : byStem.end();
        if (owner != byStem.end()) {
            parts[listing[owner->second].name].push_back({n, i});
        } else {
            GroupFiles& g = groups[listing[i].name];
            g.key = listing[i].name;
            g.files.insert(g.files.begin(), listing[i]);
        }
    }
    std::vector<GroupFiles> result;
    for (auto& entry : groups) {
        auto& list = parts[entry.first];
        std::sort(list.begin(), list.end());
        for (const auto& p : list) entry.second.files.push_back(listing[p.second]);
        result.push_back(std::move(entry.second));
    }
    std::reverse(result.begin(), result.end());
    return result;
}

std::uint64_t FileNameTime(const std::string& name) {
    if (name.size() < 15 || name[8] != '_') return 0;
    int digits[15] = {};
    for (std::size_t i = 0; i < 15; ++i) {
        if (i == 8) continue;
        if (name[i] < '0' || name[i] > '9') return 0;
        digits[i] = name[i] - '0';
    }
    auto number = [&digits](int from, int count) {
        int v = 0;
        for (int i = from; i < from + count; ++i) v = v * 10 + digits[i];
        return v;
    };
    files::CalendarTime t;
    t.year = number(0, 4);
    t.month = number(4, 2);
    t.day = number(6, 2);
    t.hour = number(9, 2);
    t.minute = number(11, 2);
    t.second = number(13, 2);
    return files::FileTimeOf(t).value_or(0);
}

files::CalendarTime CalendarOf(std::uint64_t fileTime) {
    // 1601-01-01 lies 134774 days before 1970-01-01.
    const std::int64_t seconds = static_cast<std::int64_t>(fileTime / 10000000u);
    const std::int64_t days = seconds / 86400;
    const std::int64_t rest = seconds % 86400;
    files::CalendarTime t;
    CivilFromDays(days - 134774, t.year, t.month, t.day);
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

GroupRead ReadGroupEvents(const std::string& folder, const GroupFiles& group, IntensityCalculator& calculator,
                          std::vector<TriggerEvent>& events, const std::atomic<bool>& cancel) {
    events.clear();
    EventCollector collector;
    files::ImportOptions options;
    options.blockSize = 64 * 1024;
    for (std::size_t i = 0; i < group.files.size(); ++i) {
        files::StdioSource source(files::JoinFolder(folder, group.files[i].name), cancel);
        if (!source.Ok()) return GroupRead::Unreadable;
        const files::ImportResult r = files::ImportCsv(source, options);
        if (cancel.load()) return GroupRead::Cancelled;
        if (r.status == files::ImportResult::Status::ReadError || r.status == files::ImportResult::Status::BufferError)
            return GroupRead::Unreadable;
        if (r.status == files::ImportResult::Status::NoDataLine) {
            if (i == 0) return GroupRead::Ok;  // no waveform file: no recording
            continue;                         // a damaged part adds nothing
        }
        if (i == 0) collector.event.startTime = r.baseTime ? r.baseTime : FileNameTime(group.key);
        collector.event.files.push_back(group.files[i].name);
        collector.Add(r.samples);
    }
    collector.Finish(calculator);
    collector.event.group = group.key;
    events.push_back(collector.event);
    return GroupRead::Ok;
}

const char* HistoryColumnCaption(HistoryColumn column) {
    static const char* const kCaptions[kHistoryColumnCount] = {
        "開始日時", "継続時間(s)", "ファイル", "最大Ｘ(gal)", "最大Ｙ(gal)", "最大Ｚ(gal)", "合成最大(gal)", "計測震度", "震度階級"};
    const int i = static_cast<int>(column);
    return i >= 0 && i < kHistoryColumnCount ? kCaptions[i] : "";
}

std::string HistoryCellText(const TriggerEvent& e, HistoryColumn column) {
    char text[64];
    auto fixed2 = [&](double v) {
        std::snprintf(text, sizeof text, "%.2f", v);
        return std::string(text);
    };
    switch (column) {
    case HistoryColumn::Time: {
        if (e.startTime == 0) return "-";
        const files::CalendarTime t = CalendarOf(e.startTime);
        std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                      t.second);
        return text;
    }
    case HistoryColumn::Duration:
        std::snprintf(text, sizeof text, "%lld.%02lld", e.samples / 100, e.samples % 100);
        return text;
    case HistoryColumn::File: {
        std::string name = e.group;
        if (e.files.size() > 1) name += " (+" + std::to_string(e.files.size() - 1) + ")";
        return name;
    }
    case HistoryColumn::PeakX: return fixed2(e.peak[0]);
    case HistoryColumn::PeakY: return fixed2(e.peak[1]);
    case HistoryColumn::PeakZ: return fixed2(e.peak[2]);
    case HistoryColumn::PeakVector: return fixed2(e.vectorPeak);
    case HistoryColumn::Intensity: return e.hasIntensity ? FormatIntensityTenths(e.intensityTenths) : "-";
    case HistoryColumn::Class:
        return e.hasIntensity ? IntensityClassName(IntensityClassOf(e.intensityTenths)) : "-";
    default: return "";
    }
}

void TriggerHistoryList::Apply(const HistoryUpdate& update) {
    if (update.reset) groups_.clear();
    folder_ = update.folder;
    for (const auto& g : update.groups) {
        if (g.second.empty()) groups_.erase(g.first);
        else groups_[g.first] = g.second;
    }
    for (const std::string& key : update.removed) groups_.erase(key);
    rowsValid_ = false;
}

void TriggerHistoryList::SortBy(HistoryColumn column) {
    if (column == column_) ascending_ = !ascending_;
    else ascending_ = column == HistoryColumn::File;
    column_ = column;
    rowsValid_ = false;
}

std::size_t TriggerHistoryList::Size() const {
    std::size_t n = 0;
    for (const auto& g : groups_) n += g.second.size();
    return n;
}

const std::vector<const TriggerEvent*>& TriggerHistoryList::Rows() {
    if (rowsValid_) return rows_;
    rows_.clear();
    for (const auto& g : groups_)
        for (const TriggerEvent& e : g.second) rows_.push_back(&e);
    const HistoryColumn column = column_;
    const bool ascending = ascending_;
    std::sort(rows_.begin(), rows_.end(), [column, ascending](const TriggerEvent* a, const TriggerEvent* b) {
        const int c = CompareBy(*a, *b, column);
        if (c != 0) return ascending ? c < 0 : c > 0;
        // Equal keys: newest first, then by file, so the order never depends on the map.
        const int t = CompareBy(*a, *b, HistoryColumn::Time);
        if (t != 0) return t > 0;
        return CompareBy(*a, *b, HistoryColumn::File) > 0;
    });
    rowsValid_ = true;
    return rows_;
}

std::string HistoryCsv(const std::vector<const TriggerEvent*>& rows) {
    std::string out;
    for (int c = 0; c < kHistoryColumnCount; ++c) {
        if (c) out += ',';
        out += Quoted(HistoryColumnCaption(static_cast<HistoryColumn>(c)));
    }
    out += "\r\n";
    for (const TriggerEvent* e : rows) {
        for (int c = 0; c < kHistoryColumnCount; ++c) {
            if (c) out += ',';
            out += Quoted(HistoryCellText(*e, static_cast<HistoryColumn>(c)));
        }
        out += "\r\n";
    }
    return out;
}

}  // namespace app
