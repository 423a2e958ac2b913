// Ring sizing and the COM lamp table of measurement control.
#include "pipeline/MeasurementRules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>
#include <vector>

#include "device/RsUtil.h"

namespace app {

LinkStatus StatusForLinkState(int32_t linkState) {
    if ((linkState & device::LINK_RECEIVING) == 0) return {1, kStatusReceiveError};
    if ((linkState & device::LINK_FRAMES_OK) == 0) return {3, kStatusDataError};
    return {2, kStatusReceiving};
}

const char* StatusText(int lamp) {
    switch (lamp) {
    case 0: return kStatusOpenError;
    case 1: return kStatusReceiveError;
    case 2: return kStatusReceiving;
    case 3: return kStatusDataError;
    case 4: return kStatusIdle;
    default: return "";
    }
}

int SamplesForSeconds(double seconds) {
    const double samples = 100.0 * seconds + 0.5;
    if (!(samples >= 0.0)) return 0;  // NaN and negative spans
    if (samples >= static_cast<double>(kMaxRingCapacity)) return kMaxRingCapacity;
    return static_cast<int>(std::trunc(samples));
}

int RingCapacity(const Settings& settings) {
    const int timeSel = std::clamp(settings.timeSel, 0, static_cast<int>(settings.time.size()) - 1);
    const long long before = SamplesForSeconds(settings.beforTime);
    const long long after = SamplesForSeconds(settings.afterTime);
    const long long window = SamplesForSeconds(settings.time[static_cast<size_t>(timeSel)]);
    const long long capacity =
        std::max({before + after + window, 2 * window, static_cast<long long>(settings.ringBufMinSize)});
    return static_cast<int>(std::clamp(capacity, 1LL, static_cast<long long>(kMaxRingCapacity)));
}

int ResetRings(WaveBuffer (&rings)[3], int capacity) {
    for (int size = std::clamp(capacity, 1, kMaxRingCapacity); size > 0; size /= 2) {
        // The old storage goes first, so old and new rings never have to fit side by side.
        for (WaveBuffer& ring : rings) ring.Release();
        try {
            for (WaveBuffer& ring : rings) ring.Reset(size);
            return size;
        } catch (const std::bad_alloc&) {
        }
    }
    return 0;
}

std::string RingShortfallText(int got) {
    char text[64];
    std::snprintf(text, sizeof text, "ﾘﾝｸﾞﾊﾞｯﾌｧ %d (縮小)", got);
    return text;
}

}  // namespace app
