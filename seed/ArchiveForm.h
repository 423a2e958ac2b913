// The "miniSEED" dialog without its window: the archive's settings shown in its controls, the codes
// read back and checked, and the settings taken over on OK.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "seed/ArchiveSettings.h"
#include "ui/DialogItems.h"

namespace seed {

// The code edits, in the order network, station, location, channels X, Y, Z, and how many
// characters each takes.
extern const std::array<int, 6> kCodeFields;
extern const std::array<int, 6> kCodeLimits;

// The check box, the folder and the codes; the export only while no measurement runs (it reads a
// whole file on the user-interface thread, like the import).
void ShowArchiveForm(const ui::DialogItems& items, const ArchiveSettings& settings, bool measuring);
// The codes as typed, and why they cannot be used (none when they can).
struct CodesRead {
    ArchiveCodes codes;
    std::optional<std::string> problem;
};
[[nodiscard]] CodesRead ReadArchiveCodes(const ui::DialogItems& items);
// OK with usable codes: the settings from the controls, marked to be written at exit.
void TakeArchiveForm(const ui::DialogItems& items, const ArchiveCodes& codes, ArchiveSettings& settings);

}  // namespace seed
