// The StationXML description at the archive's root: one network, one station, a channel per axis
// with its sample rate and the conversion of its counts to acceleration.
#pragma once

#include <array>
#include <string>

#include "seed/Archive.h"
#include "seed/SeedTime.h"

namespace seed {

// UTF-8 text with LF line ends. Each channel's sensitivity is given in counts per m/s**2 (100 /
// gal per count), the unit tools convert to; a comment gives the counts per gal.
[[nodiscard]] std::string StationXml(const ArchiveCodes& codes, const std::array<double, 3>& galPerCount, Ticks created);

// "2024-05-06T12:34:56.0000Z"
[[nodiscard]] std::string IsoTime(Ticks t);

}  // namespace seed
