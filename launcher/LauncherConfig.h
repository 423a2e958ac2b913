// Launcher settings as read from "Launcher.ini": title, margins, background and the button table.
#pragma once

#include <string>
#include <vector>

namespace launcher {

// The button table has room for this many entries; ids 1001..1032 address them.
constexpr int kMaxButtons = 32;
constexpr int kFirstButtonId = 1001;

struct ButtonEntry {
    std::string text;  // caption, at most 255 characters
    std::string exe;   // program or document, relative to the launcher's folder or absolute; empty closes
};

struct LauncherConfig {
    std::string title;       // at most 255 characters
    int topMargin = 32;
    int bottomMargin = 32;
    int leftMargin = 32;
    int rightMargin = 32;
    int spaceY = 8;
    std::string backImage;   // at most 259 characters
    int buttonCount = 1;     // as read; may be negative or above kMaxButtons
    std::vector<ButtonEntry> buttons;  // min(max(buttonCount, 0), kMaxButtons) entries

    // Buttons actually shown: the first 32 when the INI asks for more, none when it asks for <= 0.
    int ShownButtons() const { return static_cast<int>(buttons.size()); }
};

// The button a command id stands for; null for an id that is no shown button's.
[[nodiscard]] const ButtonEntry* ButtonFor(const LauncherConfig& config, int commandId);

// The two kinds of private-profile read the launcher makes, so the read order and defaults can be
// tested without Windows.
class ProfileReader {
public:
    virtual ~ProfileReader() = default;
    // Like GetPrivateProfileStringA with a buffer of `bufferSize` characters (result truncated to
    // bufferSize - 1).
    virtual std::string GetString(const char* section, const char* key, const char* def,
                                  int bufferSize) = 0;
    // Like GetPrivateProfileIntA.
    virtual int GetInt(const char* section, const char* key, int def) = 0;
};

// Reads every launcher setting in the fixed order: TITLE, the five margins, BACK_IMAGE,
// BTN_COUNT, then TEXT and EXE of each BTN%d.
LauncherConfig LoadLauncherConfig(ProfileReader& reader);

}  // namespace launcher
