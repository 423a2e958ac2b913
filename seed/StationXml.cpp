// StationXML text of the archive's three channels.
#include "seed/StationXml.h"

#include <cstdio>

namespace seed {

namespace {

std::string Number(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", v);
    return text;
}

const char* const kAxisNames[3] = {"X", "Y", "Z"};

}  // namespace

std::string IsoTime(Ticks t) {
    const UtcFields f = FieldsOf(t);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%04dZ", f.year, f.month, f.day, f.hour, f.minute,
                  f.second, f.tenthMs);
    return text;
}

std::string StationXml(const ArchiveCodes& codes, const std::array<double, 3>& galPerCount, Ticks created) {
    std::string x;
    x += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    x += "<FDSNStationXML xmlns=\"http://www.fdsn.org/xml/station/1\" schemaVersion=\"1.1\">\n";
    x += "  <Source>Quorvel</Source>\n";
    x += "  <Created>" + IsoTime(created) + "</Created>\n";
    // The description holds for every time: the station's history is not known here.
    const std::string epoch = " startDate=\"1970-01-01T00:00:00Z\"";
    x += "  <Network code=\"" + codes.network + "\"" + epoch + ">\n";
    x += "    <Station code=\"" + codes.station + "\"" + epoch + ">\n";
    x += "      <Latitude>0</Latitude>\n      <Longitude>0</Longitude>\n      <Elevation>0</Elevation>\n";
    x += "      <Site><Name>" + codes.station + "</Name></Site>\n";
    for (int axis = 0; axis < 3; ++axis) {
        const double k = galPerCount[static_cast<size_t>(axis)];
        x += "      <Channel code=\"" + codes.channels[static_cast<size_t>(axis)] + "\" locationCode=\"" +
             codes.location + "\"" + epoch + ">\n";
        x += "        <Comment><Value>recorder axis " + std::string(kAxisNames[axis]) + ": " + Number(k) +
             " gal per count (" + Number(k != 0.0 ? 1.0 / k : 0.0) + " counts per gal)</Value></Comment>\n";
        x += "        <Latitude>0</Latitude>\n        <Longitude>0</Longitude>\n";
        x += "        <Elevation>0</Elevation>\n        <Depth>0</Depth>\n";
        x += "        <SampleRate>100</SampleRate>\n";
        x += "        <Response>\n          <InstrumentSensitivity>\n";
        x += "            <Value>" + Number(k != 0.0 ? 100.0 / k : 0.0) + "</Value>\n";
        x += "            <Frequency>1</Frequency>\n";
        x += "            <InputUnits><Name>m/s**2</Name><Description>acceleration (1 gal = 0.01 m/s**2)</Description></InputUnits>\n";
        x += "            <OutputUnits><Name>count</Name><Description>AD value minus mid-scale</Description></OutputUnits>\n";
        x += "          </InstrumentSensitivity>\n        </Response>\n";
        x += "      </Channel>\n";
    }
    x += "    </Station>\n  </Network>\n</FDSNStationXML>\n";
    return x;
}

}  // namespace seed
