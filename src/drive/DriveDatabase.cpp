#include "drive/DriveDatabase.h"

#include <algorithm>

#include "drive/DriveTypes.h"
#include "transport/Text.h"

namespace {

enum Test : uint8_t { Any, Starts, Equals };

constexpr int kAnyMax = -2;     // no test on the maximum speed factor
constexpr int kKeepFamily = -1; // the row leaves the family as it was

enum : uint8_t {
    SlowTop = 1,    // AcceptSlowTopStep
    C2 = 2,         // C2Supported
    Xm5701Cmd = 4,  // speed page command of the XM-5701TA
    IfNoFamily = 8, // only when no earlier row has set a family
};

struct DriveRule {
    const char* vendor; // always compared exactly
    Test productTest;
    const char* product;
    Test revisionTest;
    const char* revision;
    Test vendorTextTest;
    const char* vendorText;
    int maxFactor;
    int family;
    uint8_t model;
    uint8_t flags;
};

constexpr int kMmc = FamilyMmc;

// In the order they are applied; the last matching row wins.
const DriveRule kRules[] = {
    {"ACER    ", Starts, "CD-910E/JAS",      Any,    "",     Any,    "",         kAnyMax, kMmc,                 1,   0},
    {"ATAPI CD", Starts, "ROM DRIVE  50MAX", Any,    "",     Any,    "",         kAnyMax, kMmc,                 2,   0},
    {"E-IDE   ", Equals, "CD-ROM 45X      ", Equals, "31  ", Any,    "",         kAnyMax, kMmc,                 3,   0},
    {"E-IDE   ", Starts, "CD-ROM 24X/AKOx",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 4,   0},
    {"E-IDE   ", Starts, "CD-ROM 32X/AKU",   Starts, "U12I", Any,    "",         kAnyMax, kMmc,                 5,   0},
    {"E-IDE   ", Starts, "CD-ROM 48X/AKU",   Starts, "T30 ", Any,    "",         kAnyMax, kMmc,                 6,   0},
    {"AOpen   ", Starts, "DVD-9632",         Any,    "",     Any,    "",         kAnyMax, kMmc,                 7,   0},
    {"        ", Starts, "40X CD-ROM",       Starts, "4.4B", Any,    "",         kAnyMax, kMmc,                 8,   0},
    {"ASUS    ", Starts, "CD-S500/A",        Any,    "",     Any,    "",         kAnyMax, kMmc,                 9,   0},
    {"ASUS    ", Starts, "CD-S360",          Any,    "",     Any,    "",         kAnyMax, kMmc,                 10,  0},
    {"ASUS    ", Starts, "CD-S400 ",         Any,    "",     Any,    "",         kAnyMax, kMmc,                 11,  0},
    {"ASUS    ", Starts, "CD-S400/A",        Any,    "",     Any,    "",         kAnyMax, kMmc,                 12,  0},
    {"BCD 48SB", Starts, " CD-ROM",          Any,    "",     Any,    "",         kAnyMax, kMmc,                 13,  SlowTop},
    {"CREATIVE", Starts, "DVD-ROM DVD2240E", Any,    "",     Any,    "",         kAnyMax, kMmc,                 14,  0},
    {"CREATIVE", Starts, "CD620E",           Any,    "",     Any,    "",         kAnyMax, kMmc,                 16,  0},
    {"CREATIVE", Starts, "DVD5241E",         Any,    "",     Any,    "",         kAnyMax, kMmc,                 15,  0},
    {"CREATIVE", Starts, "CD4831E TS030808", Any,    "",     Any,    "",         kAnyMax, kMmc,                 17,  0},
    {"Creative", Starts, " CD-ROM CD4832E",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 18,  SlowTop},
    {"        ", Equals, "ATAPI CDROM     ", Equals, "220C", Equals, "",         kAnyMax, kMmc,                 20,  0},
    {"        ", Equals, "ATAPI CDROM     ", Equals, "110B", Equals, "",         36,      kMmc,                 21,  0},
    {"        ", Equals, "ATAPI CDROM     ", Equals, "110N", Equals, "",         40,      kMmc,                 24,  0},
    {"        ", Equals, "ATAPI CDROM     ", Equals, "110N", Equals, "",         44,      kMmc,                 26,  0},
    {"        ", Equals, "ATAPI CDROM     ", Equals, "100H", Equals, "",         40,      kMmc,                 23,  0},
    {"        ", Equals, "ATAPI CDROM     ", Equals, "230C", Equals, "",         36,      kMmc,                 22,  0},
    {"        ", Equals, "ATAPI CDROM     ", Equals, "130M", Equals, "",         40,      kMmc,                 25,  0},
    {"        ", Equals, "ATAPI CDROM     ", Equals, "140M", Equals, "",         50,      kMmc,                 27,  0},
    {"  ATAPI ", Equals, "44X CDROM       ", Equals, "2.70", Any,    "",         kAnyMax, kMmc,                 28,  0},
    {"DVS     ", Starts, "DVD-ROM DSR-600H", Any,    "",     Any,    "",         kAnyMax, kMmc,                 29,  0},
    {"EPO     ", Starts, "CR-836S",          Any,    "",     Any,    "",         kAnyMax, kMmc,                 30,  0},
    {"EPO     ", Starts, "CR-840S",          Any,    "",     Any,    "",         kAnyMax, kMmc,                 31,  0},
    {"HITACHI ", Starts, "GD-2000",          Any,    "",     Any,    "",         kAnyMax, kMmc,                 32,  0},
    {"HP      ", Starts, "C4324/C4325",      Any,    "",     Any,    "",         kAnyMax, FamilyPhilipsCdd2000, 33,  0},
    {"HP      ", Starts, "CD-Writer+ 8100",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 36,  0},
    {"HP      ", Starts, "CD-Writer+ 7100",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 34,  0},
    {"HP      ", Starts, "CD-Writer+ 7200",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 35,  0},
    {"HP      ", Starts, "CD-Writer+ 8200",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 37,  0},
    {"JVC     ", Starts, "XR-W2010",         Any,    "",     Any,    "",         kAnyMax, FamilyCdda12,         39,  0},
    // This drive's vendor field ends early with zero bytes.
    {"   LG",    Starts, "CD-ROM CRD-8240B", Any,    "",     Any,    "",         kAnyMax, kMmc,                 40,  0},
    {"LITEON  ", Starts, "CD-ROM LTN242",    Any,    "",     Any,    "",         kAnyMax, kMmc,                 41,  0},
    {"LITEON  ", Starts, "CD-ROM LTN244",    Any,    "",     Any,    "",         kAnyMax, kMmc,                 42,  0},
    {"LITEON  ", Starts, "CD-ROM LTN301",    Any,    "",     Any,    "",         kAnyMax, kMmc,                 43,  0},
    {"LITEON  ", Starts, "CD-ROM LTN382",    Any,    "",     Any,    "",         kAnyMax, kMmc,                 44,  0},
    {"LITEON  ", Starts, "CD-ROM LTN483",    Any,    "",     Any,    "",         kAnyMax, kMmc,                 45,  0},
    {"MATSHITA", Starts, "CD-ROM CD-504",    Any,    "",     Any,    "",         kAnyMax, FamilyMatshita,       46,  0},
    {"MATSHITA", Starts, "CD-ROM CR-588",    Any,    "",     Any,    "",         kAnyMax, kMmc,                 47,  0},
    {"MATSHITA", Starts, "UJDA150",          Any,    "",     Any,    "",         kAnyMax, kMmc,                 48,  0},
    {"MATSHITA", Starts, "CD-ROM CR-506",    Any,    "",     Any,    "",         kAnyMax, FamilyMatshita,       49,  0},
    {"MATSHITA", Starts, "CD-ROM CR-586",    Any,    "",     Any,    "",         kAnyMax, kMmc,                 50,  0},
    {"MATSHITA", Starts, "DVD-ROM SR-8584A", Any,    "",     Any,    "",         kAnyMax, kMmc,                 52,  0},
    {"MEMOREX ", Starts, "482E CD-ROM",      Any,    "",     Any,    "",         kAnyMax, kMmc,                 53,  SlowTop},
    {"MITSUMI ", Starts, "CR-2801TE",        Any,    "",     Any,    "",         kAnyMax, kMmc,                 54,  0},
    {"MITSUMI ", Starts, "CR-4801TE",        Any,    "",     Any,    "",         kAnyMax, kMmc,                 55,  0},
    {"MITSUMI ", Starts, "CR-4802TE",        Any,    "",     Any,    "",         kAnyMax, kMmc,                 56,  0},
    {"MITSUMI ", Starts, "CD-ROM FX810T !B", Any,    "",     Any,    "",         kAnyMax, kMmc,                 58,  0},
    {"MITSUMI ", Starts, "CD-ROM FX320M !B", Any,    "",     Any,    "",         kAnyMax, kMmc,                 59,  0},
    {"MITSUMI ", Starts, "CD-ROM FX3400S!B", Any,    "",     Any,    "",         kAnyMax, kMmc,                 61,  0},
    {"MITSUMI ", Starts, "CD-ROM FX4010M!B", Any,    "",     Any,    "",         kAnyMax, kMmc,                 62,  0},
    {"MITSUMI ", Starts, "CD-ROM FX3210S!B", Any,    "",     Any,    "",         kAnyMax, kMmc,                 60,  0},
    {"MITSUMI ", Starts, "CR-4804TE",        Any,    "",     Any,    "",         kAnyMax, kMmc,                 57,  0},
    {"NAKAMICH", Starts, "MJ-5.16S",         Any,    "",     Any,    "",         kAnyMax, kMmc,                 63,  0},
    {"NEC     ", Starts, "CD-ROM DRIVE:282", Any,    "",     Any,    "",         kAnyMax, kMmc,                 64,  0},
    {"NEC     ", Starts, "CD-ROM DRIVE:282", Starts, "4.73", Starts, "98060900", kAnyMax, kMmc,                 65,  0},
    {"NEC     ", Starts, "CD-ROM DRIVE:465", Starts, "1.03", Starts, "98032300", kAnyMax, kMmc,                 68,  0},
    {"NEC     ", Starts, "CD-ROM DRIVE:282", Starts, "4.55", Starts, "97102200", kAnyMax, kMmc,                 67,  0},
    {"NEC     ", Starts, "CD-ROM DRIVE:282", Starts, "4.94", Starts, "99031000", kAnyMax, kMmc,                 66,  0},
    {"NEC     ", Starts, "CD-ROM DRIVE:502", Starts, "2.0r", Any,    "",         kAnyMax, FamilyCdda12,         69,  0},
    {"IMS     ", Starts, "CDD2000",          Any,    "",     Any,    "",         kAnyMax, FamilyPhilipsCdd2000, 38,  0},
    {"PHILIPS ", Starts, "CDD2600",          Any,    "",     Any,    "",         kAnyMax, FamilyPhilipsCdd2600, 70,  0},
    {"PHILIPS ", Starts, "CDD2000",          Any,    "",     Any,    "",         kAnyMax, FamilyPhilipsCdd2000, 71,  0},
    {"PHILIPS ", Starts, "CDD3610 CD-R/RW",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 73,  0},
    {"PHILIPS ", Starts, "CDD3600 CD-R/RW",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 72,  0},
    {"Philips ", Starts, "40x PCA403CD",     Any,    "",     Any,    "",         kAnyMax, kMmc,                 76,  0},
    {"GRUNDIG ", Starts, "CDR100IPW",        Any,    "",     Any,    "",         kAnyMax, FamilyPhilipsCdd2000, 19,  0},
    {"E-IDE   ", Starts, "CD-ROM 32X/AKU",   Starts, "U10I", Any,    "",         kAnyMax, kMmc,                 74,  0},
    {"E-IDE   ", Starts, "CD-ROM 36X/AKU",   Starts, "U10I", Any,    "",         kAnyMax, kMmc,                 75,  0},
    {"PIONEER ", Starts, "CD-ROM DR-U12X",   Any,    "",     Any,    "",         kAnyMax, kMmc,                 77,  0},
    {"PIONEER ", Starts, "CD-ROM DR-U124X",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 78,  0},
    {"PIONEER ", Starts, "CD-ROM DR-U06S",   Any,    "",     Any,    "",         kAnyMax, kMmc,                 80,  0},
    {"PIONEER ", Starts, "CD-ROM DR-A02S",   Any,    "",     Any,    "",         kAnyMax, kMmc,                 82,  0},
    {"PIONEER ", Starts, "CD-ROM DR-A04S",   Any,    "",     Any,    "",         kAnyMax, kMmc,                 83,  0},
    {"PIONEER ", Starts, "CD-ROM DR-A14S",   Any,    "",     Any,    "",         kAnyMax, kMmc,                 84,  0},
    {"PIONEER ", Starts, "CD-ROM DR-U16S",   Any,    "",     Any,    "",         kAnyMax, kMmc,                 81,  0},
    {"PIONEER ", Starts, "CD-ROM DR-A32X",   Any,    "",     Any,    "",         kAnyMax, kMmc,                 85,  0},
    {"PIONEER ", Starts, "DVD-ROM DVD-303",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 89,  0},
    {"PIONEER ", Starts, "CD-ROM DR-124X",   Any,    "",     Any,    "",         kAnyMax, kMmc,                 79,  0},
    {"PIONEER ", Starts, "CD-ROM DR-U03S",   Any,    "",     Any,    "",         kAnyMax, kMmc,                 87,  0},
    {"PIONEER ", Starts, "CD-ROM DR-A12X",   Any,    "",     Any,    "",         kAnyMax, kMmc,                 86,  0},
    {"PIONEER ", Starts, "DVD-ROM DVD-103",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 88,  0},
    {"PLEXTOR ", Starts, "CD-ROM PX-4X",     Any,    "",     Any,    "",         kAnyMax, FamilyPlextor,        90,  0},
    {"PLEXTOR ", Starts, "CD-ROM PX-6X",     Any,    "",     Any,    "",         kAnyMax, FamilyPlextor,        91,  0},
    {"PLEXTOR ", Starts, "CD-ROM PX-8X",     Any,    "",     Any,    "",         kAnyMax, FamilyPlextor,        92,  0},
    {"PLEXTOR ", Starts, "CD-ROM PX-12",     Any,    "",     Any,    "",         kAnyMax, FamilyPlextor,        93,  0},
    {"PLEXTOR ", Starts, "CD-ROM PX-20",     Any,    "",     Any,    "",         kAnyMax, FamilyPlextor,        94,  0},
    {"PLEXTOR ", Starts, "CD-ROM PX-32",     Any,    "",     Any,    "",         kAnyMax, FamilyPlextor,        95,  C2},
    {"PLEXTOR ", Starts, "CD-ROM PX-40",     Any,    "",     Any,    "",         kAnyMax, FamilyPlextor,        96,  C2},
    {"PLEXTOR ", Starts, "CD-R   PX-R820T",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 98,  0},
    {"PLEXTOR ", Starts, "CD-R   PX-R820T",  Starts, "1.05", Any,    "",         kAnyMax, kMmc,                 99,  0},
    {"PLEXTOR ", Starts, "CD-R   PX-W4220T", Any,    "",     Any,    "",         kAnyMax, kMmc,                 100, 0},
    {"PLEXTOR ", Starts, "CD-R   PX-R412C",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 97,  0},
    {"PLEXTOR ", Starts, "CD-R   PX-W8220T", Any,    "",     Any,    "",         kAnyMax, kMmc,                 101, 0},
    {"RICOH   ", Starts, "MP6200S",          Any,    "",     Any,    "",         kAnyMax, kMmc,                 102, 0},
    {"RICOH   ", Starts, "CD-R/RW MP7040S",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 104, 0},
    {"RICOH   ", Starts, "CD-R/RW MP7040A",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 103, 0},
    {"SAMSUNG ", Starts, "CD-ROM SCR-3230",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 105, 0},
    {"SONY    ", Equals, "CD-ROM CDU-76S  ", Any,    "",     Any,    "",         kAnyMax, FamilyCdda12,         107, 0},
    {"SONY    ", Equals, "CD-ROM CDU701   ", Any,    "",     Any,    "",         kAnyMax, kMmc,                 108, 0},
    {"SONY    ", Starts, "CD-RW  CRX100E",   Any,    "",     Any,    "",         kAnyMax, kMmc,                 110, 0},
    {"SONY    ", Starts, "CD-ROM CDU-55S",   Any,    "",     Any,    "",         kAnyMax, FamilyCdda12,         106, 0},
    {"SONY    ", Starts, "CD-ROM CDU611",    Any,    "",     Any,    "",         kAnyMax, kMmc,                 109, 0},
    {"TEAC    ", Starts, "CD-56E",           Any,    "",     Any,    "",         kAnyMax, kMmc,                 117, 0},
    {"TEAC    ", Starts, "CD-524EA",         Any,    "",     Any,    "",         kAnyMax, kMmc,                 118, 0},
    {"TEAC    ", Starts, "CD-524EA",         Starts, "3.0A", Any,    "",         kAnyMax, kMmc,                 119, 0},
    {"TEAC    ", Starts, "CD-532E-A",        Any,    "",     Any,    "",         kAnyMax, kMmc,                 122, 0},
    {"TEAC    ", Starts, "CD-532E-A",        Starts, "3.0A", Any,    "",         kAnyMax, kMmc,                 123, 0},
    {"TEAC    ", Starts, "CD-532E-B",        Any,    "",     Any,    "",         kAnyMax, kMmc,                 124, 0},
    {"TEAC    ", Starts, "CD-532E-B",        Starts, "3.0B", Any,    "",         kAnyMax, kMmc,                 125, 0},
    {"TEAC    ", Starts, "CD-532E ",         Any,    "",     Any,    "",         kAnyMax, kMmc,                 120, 0},
    {"TEAC    ", Starts, "CD-532E ",         Starts, "3.0A", Any,    "",         kAnyMax, kMmc,                 121, 0},
    {"TEAC    ", Starts, "CD-ROM CD-532S",   Any,    "",     Any,    "",         kAnyMax, FamilyTeacScsi,       113, 0},
    {"TEAC    ", Starts, "CD-ROM CD-532S",   Starts, "3.0A", Any,    "",         kAnyMax, FamilyTeacScsi,       114, 0},
    {"TEAC    ", Starts, "CD-R55S",          Any,    "",     Any,    "",         kAnyMax, FamilyTeacScsi,       127, 0},
    {"TEAC    ", Starts, "CD-R56S ",         Any,    "",     Any,    "",         kAnyMax, kMmc,                 129, 0},
    {"TEAC    ", Starts, "CD-R56S4",         Any,    "",     Any,    "",         kAnyMax, kMmc,                 128, 0},
    {"TEAC    ", Starts, "CD-220E",          Any,    "",     Any,    "",         kAnyMax, kMmc,                 115, 0},
    {"TEAC    ", Starts, "CD-ROM CD-56S",    Any,    "",     Any,    "",         kAnyMax, FamilyTeacScsi,       111, 0},
    {"TEAC    ", Starts, "CD-224E",          Any,    "",     Any,    "",         kAnyMax, kMmc,                 116, 0},
    {"TEAC    ", Starts, "CD-R58S",          Any,    "",     Any,    "",         kAnyMax, kMmc,                 130, 0},
    {"TEAC    ", Starts, "CD-540E",          Any,    "",     Any,    "",         kAnyMax, kMmc,                 126, 0},
    {"TORiSAN ", Starts, "CD-ROM CDR_U200",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 131, 0},
    {"TORiSAN ", Starts, "CD-ROM CDR_U240",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 132, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-5401TA", Any,    "",     Any,    "",         kAnyMax, FamilyToshiba,        148, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-5701TA", Any,    "",     Any,    "",         kAnyMax, FamilyToshiba,        151, Xm5701Cmd},
    {"TOSHIBA ", Starts, "CD-ROM XM-6201TA", Any,    "",     Any,    "",         kAnyMax, FamilyToshiba,        152, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-5702B",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 133, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-6202B",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 134, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-6402B",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 136, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-6401TA", Any,    "",     Any,    "",         kAnyMax, FamilyToshiba,        153, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-3701TA", Any,    "",     Any,    "",         kAnyMax, FamilyToshiba,        142, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-6502B",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 137, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-6302B",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 135, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-1802B",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 138, 0},
    {"TOSHIBA ", Starts, "DVD-ROM SD-M1212", Any,    "",     Any,    "",         kAnyMax, kMmc,                 154, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-1802D",  Any,    "",     Any,    "",         kAnyMax, kMmc,                 139, 0},
    {"TOSHIBA ", Starts, "DVD-ROM SD-M1201", Any,    "",     Any,    "",         kAnyMax, kMmc,                 155, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-3401TA", Any,    "",     Any,    "",         kAnyMax, FamilyToshiba,        140, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-3501TA", Any,    "",     Any,    "",         kAnyMax, FamilyToshiba,        141, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-3801TA", Any,    "",     Any,    "",         kAnyMax, FamilyToshiba,        143, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-4101TA", Any,    "",     Any,    "",         kAnyMax, FamilyToshiba,        144, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-5201TA", Any,    "",     Any,    "",         kAnyMax, FamilyToshiba,        145, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-5301TA", Any,    "",     Any,    "",         kAnyMax, FamilyToshiba,        146, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-5302TA", Any,    "",     Any,    "",         kAnyMax, kKeepFamily,          147, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-5401TA", Any,    "",     Any,    "",         kAnyMax, FamilyToshiba,        148, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-5402TA", Any,    "",     Any,    "",         kAnyMax, kKeepFamily,          149, 0},
    {"TOSHIBA ", Starts, "CD-ROM XM-5502TA", Any,    "",     Any,    "",         kAnyMax, kKeepFamily,          150, 0},
    {"Traxdata", Starts, " CDRW2260+",       Any,    "",     Any,    "",         kAnyMax, kMmc,                 156, 0},
    {"IDE-CD  ", Starts, "R/RW 4x4x24 ",     Any,    "",     Any,    "",         kAnyMax, kMmc,                 157, 0},
    {"IDE-CD  ", Starts, "ReWritable-2x2x6", Any,    "",     Any,    "",         kAnyMax, kMmc,                 156, 0},
    {"WEARNES ", Starts, "CDD-620",          Any,    "",     Any,    "",         kAnyMax, kMmc,                 158, 0},
    {"WEARNES ", Any,    "",                 Any,    "",     Any,    "",         kAnyMax, kMmc,                 158, IfNoFamily},
    {"YAMAHA  ", Starts, "CRW4416S",         Any,    "",     Any,    "",         kAnyMax, kMmc,                 159, 0},
    {"YAMAHA  ", Starts, "CRW4416E",         Any,    "",     Any,    "",         kAnyMax, kMmc,                 160, 0},
    {"YAMAHA  ", Starts, "CRW4260",          Any,    "",     Any,    "",         kAnyMax, kMmc,                 161, 0},
    {"YAMAHA  ", Starts, "CDR400c",          Any,    "",     Any,    "",         kAnyMax, kMmc,                 163, 0},
    {"YAMAHA  ", Starts, "CDR400t",          Any,    "",     Any,    "",         kAnyMax, kMmc,                 164, 0},
    {"YAMAHA  ", Starts, "CRW6416S",         Any,    "",     Any,    "",         kAnyMax, kMmc,                 162, 0},
};

bool Passes(Test test, const char* wanted, const std::string& text)
{
    switch (test) {
    case Starts: return BeginsWith(wanted, text);
    case Equals: return text == wanted;
    default: return true;
    }
}

// Inquiry fields end at their first zero byte and never exceed their width.
std::string Field(const std::string& raw, size_t width)
{
    return raw.substr(0, std::min(raw.find('\0'), width));
}

} // namespace

DriveMatch MatchDriveDatabase(const DriveInquiry& inquiry, const MaxFactorReader& readMaxFactor)
{
    const std::string vendor = Field(inquiry.vendor, 8);
    const std::string product = Field(inquiry.product, 16);
    const std::string revision = Field(inquiry.revision, 4);
    const std::string vendorText = Field(inquiry.vendorText, 20);

    bool maxRead = false;
    int maxFactor = -1;
    DriveMatch match;
    for (const DriveRule& rule : kRules) {
        if (vendor != rule.vendor || !Passes(rule.productTest, rule.product, product)) continue;
        // Rows that test the maximum speed read it as soon as vendor and product match, once.
        if (rule.maxFactor != kAnyMax && !maxRead) {
            maxFactor = readMaxFactor ? readMaxFactor() : -1;
            maxRead = true;
        }
        if (!Passes(rule.revisionTest, rule.revision, revision)) continue;
        if (!Passes(rule.vendorTextTest, rule.vendorText, vendorText)) continue;
        if (rule.maxFactor != kAnyMax && rule.maxFactor != maxFactor) continue;
        if ((rule.flags & IfNoFamily) && match.family != 0) continue;

        if (rule.family != kKeepFamily) match.family = rule.family;
        match.model = rule.model;
        if (rule.flags & SlowTop) match.acceptSlowTopStep = true;
        if (rule.flags & C2) match.c2Supported = true;
        if (rule.flags & Xm5701Cmd) match.xm5701Command = true;
    }
    return match;
}
