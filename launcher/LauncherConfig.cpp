// Reads the launcher's settings through a profile reader, in the order and with the defaults the
// launcher has always used.
#include "launcher/LauncherConfig.h"

#include <algorithm>
#include <cstdio>

namespace launcher {

LauncherConfig LoadLauncherConfig(ProfileReader& reader) {
    LauncherConfig c;
    c.title = reader.GetString("SPEC", "TITLE", "", 256);
    c.topMargin = reader.GetInt("SPEC", "TOP_MARGIN", 32);
    c.bottomMargin = reader.GetInt("SPEC", "BOTTOM_MARGIN", 32);
    c.leftMargin = reader.GetInt("SPEC", "LEFT_MARGIN", 32);
    c.rightMargin = reader.GetInt("SPEC", "RIGHT_MARGIN", 32);
    c.spaceY = reader.GetInt("SPEC", "SPACE_Y", 8);
    c.backImage = reader.GetString("SPEC", "BACK_IMAGE", "", 260);
    c.buttonCount = reader.GetInt("SPEC", "BTN_COUNT", 1);

    // Only the first 32 fit the button table and its id range.
    const int shown = std::clamp(c.buttonCount, 0, kMaxButtons);
    c.buttons.resize(shown);
    for (int n = 1; n <= shown; ++n) {
        char section[16];
        std::snprintf(section, sizeof section, "BTN%d", n);
        c.buttons[n - 1].text = reader.GetString(section, "TEXT", "Exit", 256);
        c.buttons[n - 1].exe = reader.GetString(section, "EXE", "", 260);
    }
    return c;
}

const ButtonEntry* ButtonFor(const LauncherConfig& config, int commandId) {
    const int index = commandId - kFirstButtonId;
    return index >= 0 && index < config.ShownButtons() ? &config.buttons[static_cast<size_t>(index)] : nullptr;
}

}  // namespace launcher
