// The miniSEED dialog's controls: filled from the settings, codes read and checked, OK taken over.
#include "seed/ArchiveForm.h"

#include "resources/SeedResource.h"

namespace seed {

const std::array<int, 6> kCodeFields = {IDC_SEED_NETWORK,   IDC_SEED_STATION,   IDC_SEED_LOCATION,
                                        IDC_SEED_CHANNEL_X, IDC_SEED_CHANNEL_Y, IDC_SEED_CHANNEL_Z};
const std::array<int, 6> kCodeLimits = {2, 5, 2, 3, 3, 3};

namespace {

std::array<std::string*, 6> CodeTexts(ArchiveCodes& c) {
    return {&c.network, &c.station, &c.location, &c.channels[0], &c.channels[1], &c.channels[2]};
}

}  // namespace

void ShowArchiveForm(const ui::DialogItems& items, const ArchiveSettings& settings, bool measuring) {
    items.CheckItem(IDC_SEED_ARCHIVE, settings.enabled != 0);
    items.SetItemText(IDC_SEED_ROOT, settings.root);
    ArchiveCodes codes = settings.codes;
    const std::array<std::string*, 6> texts = CodeTexts(codes);
    for (size_t i = 0; i < kCodeFields.size(); ++i) items.SetItemText(kCodeFields[i], *texts[i]);
    items.EnableItem(IDC_SEED_EXPORT, !measuring);
}

CodesRead ReadArchiveCodes(const ui::DialogItems& items) {
    CodesRead read;
    const std::array<std::string*, 6> texts = CodeTexts(read.codes);
    for (size_t i = 0; i < kCodeFields.size(); ++i) *texts[i] = items.ItemText(kCodeFields[i]);
    read.problem = CodeProblem(read.codes);
    return read;
}

void TakeArchiveForm(const ui::DialogItems& items, const ArchiveCodes& codes, ArchiveSettings& settings) {
    settings.enabled = items.IsItemChecked(IDC_SEED_ARCHIVE) ? 1 : 0;
    settings.root = items.ItemText(IDC_SEED_ROOT);
    settings.codes = codes;
    settings.stored = true;
}

}  // namespace seed
