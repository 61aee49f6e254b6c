#pragma once
// What each speed step of a known model really delivers, for data reading and audio extraction.
#include <string>

struct ZoneStep {
    int factor = -1;      // nominal factor of the step; -1 when the step is not known
    std::string dataText; // e.g. "9,9x-14,3x PCAV"; empty when not known
    std::string daeText;  // the same for digital audio extraction
};

// Where a vendor-family drive keeps its speed code: a byte of a vendor mode page (current
// values), masked. page is 0 for the families that report their speed in the capabilities
// page (4, 9) and for family 0.
struct ZoneCodeSource {
    int page = 0;
    int byte = 0;
    int mask = 0xFF;
};

ZoneCodeSource ZoneCodeLocation(int family);

// The step a drive runs at. speedValue is, for families 4 and 9, the speed factor the drive
// reports; for the vendor families the masked code read from ZoneCodeLocation, -1 when the
// read failed. An MMC step without a row keeps the factor with an empty data text; an
// unlisted vendor code gives factor -1 and empty texts. A DAE text a model has for every step
// stays in both cases.
ZoneStep LookupZone(int family, int model, int speedValue);
