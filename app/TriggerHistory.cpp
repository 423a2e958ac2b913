// Trigger history core: grouping of the trigger files, events with peaks and intensity, the
// sorted list and its CSV text.
#include "app/TriggerHistory.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>

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

// Collects a group's samples into events: peaks as they come, samples kept for the intensity.
class EventCollector : public files::WaveSegmentSink {
public:
    EventCollector(const GroupFiles& group, IntensityCalculator& calculator, std::vector<TriggerEvent>& events)
        : group_(group), calculator_(calculator), events_(events) {}

    // Segments of the further parts continue the last event instead of starting one.
    void BeginPart(std::size_t index) {
        part_ = index;
        if (!events_.empty()) events_.back().files.push_back(group_.files[index].name);
    }

    void OnSegment(const files::WaveTime& time) override {
        if (part_ > 0 && !events_.empty()) return;
        Finish();
        TriggerEvent e;
        e.group = group_.key;
        e.segment = static_cast<int>(events_.size());
        e.files.push_back(group_.files[part_].name);
        e.time = time.valid || e.segment > 0 ? time : files::ParseWaveFileName(group_.key);
        events_.push_back(e);
        open_ = true;
    }

    void OnSample(double x, double y, double z) override {
        TriggerEvent& e = events_.back();
        ++e.samples;
        const double v[3] = {x, y, z};
        double sum = 0.0;
        bool finite = true;
        for (int a = 0; a < 3; ++a) {
            if (!std::isfinite(v[a])) {
                finite = false;
                continue;
            }
            e.peak[a] = std::max(e.peak[a], std::fabs(v[a]));
            sum += v[a] * v[a];
        }
        if (finite) e.vectorPeak = std::max(e.vectorPeak, std::sqrt(sum));
        // Beyond the longest computable record the samples are no longer kept; the event then has
        // no intensity, but its peaks and duration still count every sample.
        if (static_cast<std::size_t>(e.samples) <= kMaxIntensitySamples)
            for (int a = 0; a < 3; ++a) axes_[a].push_back(v[a]);
    }

    // Computes the open event's intensity and lets its samples go.
    void Finish() {
        if (!open_) return;
        open_ = false;
        TriggerEvent& e = events_.back();
        const std::size_t n = axes_[0].size();
        if (static_cast<long long>(n) == e.samples) {
            const IntensityResult r = calculator_.Compute(axes_[0].data(), axes_[1].data(), axes_[2].data(), n);
            e.hasIntensity = r.valid;
            e.intensityTenths = r.valid ? r.tenths : 0;
        }
        for (auto& axis : axes_) {
            axis.clear();
            axis.shrink_to_fit();
        }
    }

private:
    const GroupFiles& group_;
    IntensityCalculator& calculator_;
    std::vector<TriggerEvent>& events_;
    std::size_t part_ = 0;
    bool open_ = false;
    std::vector<double> axes_[3];
};

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

GroupRead Parse(const std::string& path, files::WaveSegmentParser& parser, const std::atomic<bool>& cancel) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return GroupRead::Unreadable;
    std::vector<char> chunk(64 * 1024);
    for (;;) {
        if (cancel.load()) return GroupRead::Cancelled;
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get());
        parser.Feed(chunk.data(), got);
        if (got < chunk.size()) break;
    }
    if (std::ferror(file.get())) return GroupRead::Unreadable;
    parser.Finish();
    return GroupRead::Ok;
}

long long TimeKey(const files::WaveTime& t) {
    if (!t.valid) return -1;
    return ((((t.year * 100LL + t.month) * 100 + t.day) * 100 + t.hour) * 100 + t.minute) * 100 + t.second;
}

// -1, 0 or 1 by one column, ascending.
int CompareBy(const TriggerEvent& a, const TriggerEvent& b, HistoryColumn column) {
    auto order = [](auto x, auto y) { return x < y ? -1 : (y < x ? 1 : 0); };
    switch (column) {
    case HistoryColumn::Time: return order(TimeKey(a.time), TimeKey(b.time));
    case HistoryColumn::Duration: return order(a.samples, b.samples);
    case HistoryColumn::File: {
        const int byName = order(a.group, b.group);
        return byName ? byName : order(a.segment, b.segment);
    }
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
    return group == o.group && segment == o.segment && files == o.files && time == o.time &&
           samples == o.samples && peak[0] == o.peak[0] && peak[1] == o.peak[1] && peak[2] == o.peak[2] &&
           vectorPeak == o.vectorPeak && hasIntensity == o.hasIntensity && intensityTenths == o.intensityTenths;
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

GroupRead ReadGroupEvents(const std::string& folder, const GroupFiles& group, IntensityCalculator& calculator,
                          std::vector<TriggerEvent>& events, const std::atomic<bool>& cancel) {
    events.clear();
    EventCollector collector(group, calculator, events);
    for (std::size_t i = 0; i < group.files.size(); ++i) {
        collector.BeginPart(i);
        files::WaveSegmentParser parser(collector);
        const GroupRead r = Parse(files::JoinFolder(folder, group.files[i].name), parser, cancel);
        if (r != GroupRead::Ok) {
            events.clear();
            return r;
        }
    }
    collector.Finish();
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
    case HistoryColumn::Time:
        if (!e.time.valid) return "-";
        std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", e.time.year, e.time.month, e.time.day,
                      e.time.hour, e.time.minute, e.time.second);
        return text;
    case HistoryColumn::Duration:
        std::snprintf(text, sizeof text, "%lld.%02lld", e.samples / 100, e.samples % 100);
        return text;
    case HistoryColumn::File: {
        std::string name = e.group;
        if (e.segment > 0) name += " #" + std::to_string(e.segment + 1);
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
