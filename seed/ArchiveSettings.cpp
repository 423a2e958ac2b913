// The archive's keys in the INI file.
#include "seed/ArchiveSettings.h"

#include "config/IniFile.h"

namespace seed {

namespace {

constexpr const char* kChannelKeys[3] = {"CHANNEL_X", "CHANNEL_Y", "CHANNEL_Z"};

bool CodeOk(const std::string& code, size_t least, size_t most) {
    if (code.size() < least || code.size() > most) return false;
    for (char c : code) {
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

}  // namespace

void LoadArchiveSettings(IProfileStore& store, ArchiveSettings& s) {
    char probe[4] = "";
    s.stored = store.GetSection(kArchiveSection, probe, sizeof probe) > 0;
    CIniFile ini(store, kArchiveSection);
    const ArchiveCodes defaults;
    ini.ExchangeInt(0, "ARCHIVE", s.enabled, 0);
    ini.ExchangeString(0, "ROOT", s.root, "");
    ArchiveCodes codes;
    ini.ExchangeString(0, "NETWORK", codes.network, defaults.network);
    ini.ExchangeString(0, "STATION", codes.station, defaults.station);
    ini.ExchangeString(0, "LOCATION", codes.location, defaults.location);
    for (size_t a = 0; a < 3; ++a) ini.ExchangeString(0, kChannelKeys[a], codes.channels[a], defaults.channels[a]);
    if (!CodeOk(codes.network, 1, 2)) codes.network = defaults.network;
    if (!CodeOk(codes.station, 1, 5)) codes.station = defaults.station;
    if (!CodeOk(codes.location, 0, 2)) codes.location = defaults.location;
    for (size_t a = 0; a < 3; ++a) {
        if (!CodeOk(codes.channels[a], 3, 3)) codes.channels[a] = defaults.channels[a];
    }
    if (CodeProblem(codes)) codes.channels = defaults.channels;  // two axes on one channel
    s.codes = codes;
}

void SaveArchiveSettings(IProfileStore& store, const ArchiveSettings& s) {
    if (!s.stored) return;
    CIniFile ini(store, kArchiveSection);
    ArchiveSettings copy = s;
    ini.ExchangeInt(1, "ARCHIVE", copy.enabled, 0);
    ini.ExchangeString(1, "ROOT", copy.root, "");
    ini.ExchangeString(1, "NETWORK", copy.codes.network, "");
    ini.ExchangeString(1, "STATION", copy.codes.station, "");
    ini.ExchangeString(1, "LOCATION", copy.codes.location, "");
    for (size_t a = 0; a < 3; ++a) ini.ExchangeString(1, kChannelKeys[a], copy.codes.channels[a], "");
}

std::string ArchiveRoot(const ArchiveSettings& s, const std::string& dataFolder) {
    return s.root.empty() ? JoinPath(dataFolder, kDefaultRootName) : s.root;
}

std::optional<std::string> CodeProblem(const ArchiveCodes& c) {
    if (!CodeOk(c.network, 1, 2)) return std::string("ネットワークコードは英大文字と数字で 1～2 文字です。");
    if (!CodeOk(c.station, 1, 5)) return std::string("観測点コードは英大文字と数字で 1～5 文字です。");
    if (!CodeOk(c.location, 0, 2)) return std::string("ロケーションコードは英大文字と数字で 0～2 文字です。");
    for (const std::string& channel : c.channels) {
        if (!CodeOk(channel, 3, 3)) return std::string("チャンネルコードは英大文字と数字で 3 文字です。");
    }
    if (c.channels[0] == c.channels[1] || c.channels[1] == c.channels[2] || c.channels[0] == c.channels[2]) {
        return std::string("3 軸のチャンネルコードはそれぞれ異なるものにしてください。");
    }
    return std::nullopt;
}

}  // namespace seed
