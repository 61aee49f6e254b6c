#include <gtest/gtest.h>

#include "drive/DriveDatabase.h"
#include "drive/DriveTypes.h"

namespace {

DriveMatch Match(const char* vendor, const char* product, const char* revision = "1.00",
                 const char* vendorText = "", int maxFactor = -1, int* reads = nullptr)
{
    return MatchDriveDatabase({vendor, product, revision, vendorText}, [=] {
        if (reads != nullptr) ++*reads;
        return maxFactor;
    });
}

struct Case {
    const char* vendor;
    const char* product;
    const char* revision;
    int family;
    int model;
};

} // namespace

TEST(DriveDatabase, OneDriveForEveryRule)
{
    const Case cases[] = {
        {"ACER    ", "CD-910E/JAS     ", "1.0 ", FamilyMmc, 1},
        {"ATAPI CD", "ROM DRIVE  50MAX", "1.0 ", FamilyMmc, 2},
        {"E-IDE   ", "CD-ROM 45X      ", "31  ", FamilyMmc, 3},
        {"E-IDE   ", "CD-ROM 48X/AKU  ", "T30 ", FamilyMmc, 6},
        {"AOpen   ", "DVD-9632        ", "1.0 ", FamilyMmc, 7},
        {"        ", "40X CD-ROM      ", "4.4B", FamilyMmc, 8},
        {"ASUS    ", "CD-S400/A       ", "1.30", FamilyMmc, 12},
        {"BCD 48SB", " CD-ROM         ", "C2.4", FamilyMmc, 13},
        {"CREATIVE", "DVD5241E        ", "0.45", FamilyMmc, 15},
        {"Creative", " CD-ROM CD4832E ", "C1.3", FamilyMmc, 18},
        {"  ATAPI ", "44X CDROM       ", "2.70", FamilyMmc, 28},
        {"DVS     ", "DVD-ROM DSR-600H", "1.0 ", FamilyMmc, 29},
        {"EPO     ", "CR-840S         ", "1.06", FamilyMmc, 31},
        {"HITACHI ", "GD-2000         ", "1.0 ", FamilyMmc, 32},
        {"HP      ", "C4324/C4325     ", "1.0 ", FamilyPhilipsCdd2000, 33},
        {"JVC     ", "XR-W2010        ", "1.0 ", FamilyCdda12, 39},
        {"   LG", "CD-ROM CRD-8240B", "1.0 ", FamilyMmc, 40},
        {"LITEON  ", "CD-ROM LTN483   ", "BL13", FamilyMmc, 45},
        {"MATSHITA", "CD-ROM CR-506   ", "1.0 ", FamilyMatshita, 49},
        {"MEMOREX ", "482E CD-ROM     ", "M1.0", FamilyMmc, 53},
        {"MITSUMI ", "CR-4804TE       ", "1.0 ", FamilyMmc, 57},
        {"NAKAMICH", "MJ-5.16S        ", "1.0 ", FamilyMmc, 63},
        {"NEC     ", "CD-ROM DRIVE:502", "2.0r", FamilyCdda12, 69},
        {"IMS     ", "CDD2000         ", "1.0 ", FamilyPhilipsCdd2000, 38},
        {"PHILIPS ", "CDD2600         ", "1.0 ", FamilyPhilipsCdd2600, 70},
        {"Philips ", "40x PCA403CD    ", "1.0 ", FamilyMmc, 76},
        {"GRUNDIG ", "CDR100IPW       ", "1.0 ", FamilyPhilipsCdd2000, 19},
        {"E-IDE   ", "CD-ROM 36X/AKU  ", "U10I", FamilyMmc, 75},
        {"PIONEER ", "DVD-ROM DVD-103 ", "1.0 ", FamilyMmc, 88},
        {"PLEXTOR ", "CD-ROM PX-6X    ", "1.0 ", FamilyPlextor, 91},
        {"RICOH   ", "CD-R/RW MP7040A ", "1.20", FamilyMmc, 103},
        {"SAMSUNG ", "CD-ROM SCR-3230 ", "S104", FamilyMmc, 105},
        {"SONY    ", "CD-ROM CDU-76S  ", "1.0 ", FamilyCdda12, 107},
        {"TEAC    ", "CD-540E         ", "1.0A", FamilyMmc, 126},
        {"TORiSAN ", "CD-ROM CDR_U240 ", "1.08", FamilyMmc, 132},
        {"TOSHIBA ", "CD-ROM XM-6401TA", "1.0 ", FamilyToshiba, 153},
        {"Traxdata", " CDRW2260+      ", "3.01", FamilyMmc, 156},
        {"IDE-CD  ", "R/RW 4x4x24     ", "1.04", FamilyMmc, 157},
        {"IDE-CD  ", "ReWritable-2x2x6", "3.01", FamilyMmc, 156},
        {"WEARNES ", "CDD-620         ", "1.0 ", FamilyMmc, 158},
        {"YAMAHA  ", "CRW6416S        ", "1.0b", FamilyMmc, 162},
    };
    for (const Case& c : cases) {
        const DriveMatch match = Match(c.vendor, c.product, c.revision);
        EXPECT_EQ(match.family, c.family) << c.vendor << c.product;
        EXPECT_EQ(match.model, c.model) << c.vendor << c.product;
    }
}

TEST(DriveDatabase, LaterMoreSpecificRowsWin)
{
    EXPECT_EQ(Match("NEC     ", "CD-ROM DRIVE:282", "4.94", "99031000ABC").model, 66);
    EXPECT_EQ(Match("NEC     ", "CD-ROM DRIVE:282", "4.94", "98060900").model, 64);
    EXPECT_EQ(Match("NEC     ", "CD-ROM DRIVE:282", "4.73", "98060900").model, 65);
    EXPECT_EQ(Match("NEC     ", "CD-ROM DRIVE:465", "1.03", "98032300").model, 68);
    EXPECT_EQ(Match("NEC     ", "CD-ROM DRIVE:465", "1.03", "").model, 0);
    EXPECT_EQ(Match("PLEXTOR ", "CD-R   PX-R820T ", "1.05").model, 99);
    EXPECT_EQ(Match("PLEXTOR ", "CD-R   PX-R820T ", "1.04").model, 98);
    EXPECT_EQ(Match("TEAC    ", "CD-532E-A       ", "3.0A").model, 123);
    EXPECT_EQ(Match("TEAC    ", "CD-532E-A       ", "1.0A").model, 122);
    EXPECT_EQ(Match("TEAC    ", "CD-532E         ", "2.0 ").model, 120);
    EXPECT_EQ(Match("TEAC    ", "CD-532E         ", "3.0A").model, 121);
    EXPECT_EQ(Match("TEAC    ", "CD-532E-B       ", "3.0A").model, 124);
    EXPECT_EQ(Match("TEAC    ", "CD-532E-B       ", "3.0B").model, 125);
    EXPECT_EQ(Match("TEAC    ", "CD-524EA        ", "3.0A").model, 119);
    const DriveMatch teacScsi = Match("TEAC    ", "CD-ROM CD-532S  ", "3.0A");
    EXPECT_EQ(teacScsi.model, 114);
    EXPECT_EQ(teacScsi.family, FamilyTeacScsi);
    EXPECT_EQ(Match("TEAC    ", "CD-R56S4        ").model, 128);
    EXPECT_EQ(Match("TEAC    ", "CD-R56S         ").model, 129);
    // "CD-ROM 32X/AKU" is claimed by two rows with different revisions.
    EXPECT_EQ(Match("E-IDE   ", "CD-ROM 32X/AKU  ", "U12I").model, 5);
    EXPECT_EQ(Match("E-IDE   ", "CD-ROM 32X/AKU  ", "U10I").model, 74);
    EXPECT_EQ(Match("E-IDE   ", "CD-ROM 32X/AKU  ", "U11I").model, 0);
}

TEST(DriveDatabase, ComparisonsAreCaseAndBlankExact)
{
    EXPECT_EQ(Match("CREATIVE", " CD-ROM CD4832E ").model, 0);
    EXPECT_EQ(Match("PHILIPS ", "40x PCA403CD    ").model, 0);
    EXPECT_EQ(Match("Philips ", "CDD2600         ").model, 0);
    EXPECT_EQ(Match("ASUS", "CD-S360         ").model, 0);
    EXPECT_EQ(Match("ASUS    ", "CD-S400/A       ").model, 12);
    EXPECT_EQ(Match("ASUS    ", "CD-S400         ").model, 11);
    // Exact products: the trailing blanks count.
    EXPECT_EQ(Match("SONY    ", "CD-ROM CDU-76S").model, 0);
    EXPECT_EQ(Match("SONY    ", "CD-ROM CDU701   ").model, 108);
    EXPECT_EQ(Match("SONY    ", "CD-ROM CDU701 X ").model, 0);
    // A vendor field cut by zero bytes matches only the row written that way.
    EXPECT_EQ(Match(std::string("   LG\0\0\0", 8).c_str(), "CD-ROM CRD-8240B").model, 40);
    EXPECT_EQ(Match("   LG   ", "CD-ROM CRD-8240B").model, 0);
}

TEST(DriveDatabase, FlagsAndTheToshibaCommand)
{
    EXPECT_TRUE(Match("BCD 48SB", " CD-ROM").acceptSlowTopStep);
    EXPECT_TRUE(Match("Creative", " CD-ROM CD4832E ").acceptSlowTopStep);
    EXPECT_TRUE(Match("MEMOREX ", "482E CD-ROM     ").acceptSlowTopStep);
    EXPECT_FALSE(Match("ASUS    ", "CD-S360").acceptSlowTopStep);
    EXPECT_TRUE(Match("PLEXTOR ", "CD-ROM PX-40TS  ").c2Supported);
    EXPECT_TRUE(Match("PLEXTOR ", "CD-ROM PX-32TS  ").c2Supported);
    EXPECT_FALSE(Match("PLEXTOR ", "CD-ROM PX-20TS  ").c2Supported);

    const DriveMatch xm5701 = Match("TOSHIBA ", "CD-ROM XM-5701TA");
    EXPECT_TRUE(xm5701.xm5701Command);
    EXPECT_EQ(xm5701.model, 151);
    EXPECT_FALSE(Match("TOSHIBA ", "CD-ROM XM-6201TA").xm5701Command);
    EXPECT_EQ(Xm5701SpeedPageByte(0xA3), 0x13);
    EXPECT_EQ(Xm5701SpeedPageByte(0x0F), 0x1F);
}

TEST(DriveDatabase, FamilyLeftToIdentificationByThreeToshibaRows)
{
    for (const char* product : {"CD-ROM XM-5302TA", "CD-ROM XM-5402TA", "CD-ROM XM-5502TA"}) {
        const DriveMatch match = Match("TOSHIBA ", product);
        EXPECT_EQ(match.family, FamilyUnknown) << product;
        EXPECT_GT(match.model, 146) << product;
    }
    EXPECT_EQ(Match("TOSHIBA ", "CD-ROM XM-5502TA").model, 150);
    EXPECT_EQ(Match("TOSHIBA ", "CD-ROM XM-5401TA").family, FamilyToshiba);
}

TEST(DriveDatabase, EveryWearnesDriveIsModel158)
{
    for (const char* product : {"CDD-620         ", "CD-ROM ANYTHING ", ""}) {
        const DriveMatch match = Match("WEARNES ", product);
        EXPECT_EQ(match.model, 158) << product;
        EXPECT_EQ(match.family, FamilyMmc) << product;
    }
}

TEST(DriveDatabase, CyberDrivesAreToldApartByMaximumSpeed)
{
    const char* vendor = "        ";
    const char* product = "ATAPI CDROM     ";
    EXPECT_EQ(Match(vendor, product, "110N", "", 40).model, 24);
    EXPECT_EQ(Match(vendor, product, "110N", "", 44).model, 26);
    EXPECT_EQ(Match(vendor, product, "110N", "", 45).model, 0);
    EXPECT_EQ(Match(vendor, product, "110N", "X1", 40).model, 0);
    EXPECT_EQ(Match(vendor, product, "110B", "", 36).model, 21);
    EXPECT_EQ(Match(vendor, product, "100H", "", 40).model, 23);
    EXPECT_EQ(Match(vendor, product, "230C", "", 36).model, 22);
    EXPECT_EQ(Match(vendor, product, "130M", "", 40).model, 25);
    EXPECT_EQ(Match(vendor, product, "140M", "", 50).model, 27);
    EXPECT_EQ(Match(vendor, product, "140M", "", 40).model, 0);
    // An unreadable capabilities page leaves only the row without a speed test.
    EXPECT_EQ(Match(vendor, product, "220C", "", -1).model, 20);
    EXPECT_EQ(Match(vendor, product, "230C", "", -1).model, 0);
}

TEST(DriveDatabase, MaximumSpeedIsReadOnceAndOnlyWhenNeeded)
{
    int reads = 0;
    Match("        ", "ATAPI CDROM     ", "220C", "", 36, &reads);
    EXPECT_EQ(reads, 1);
    reads = 0;
    Match("        ", "ATAPI CDROM     ", "140M", "", 50, &reads);
    EXPECT_EQ(reads, 1);
    reads = 0;
    Match("        ", "40X CD-ROM      ", "4.4B", "", 40, &reads);
    Match("        ", "ATAPI CDROM  X  ", "110N", "", 40, &reads);
    Match("PLEXTOR ", "CD-ROM PX-40TS  ", "1.00", "", 40, &reads);
    EXPECT_EQ(reads, 0);
    // Without a reader the speed counts as unreadable.
    EXPECT_EQ(MatchDriveDatabase({"        ", "ATAPI CDROM     ", "110N", ""}, nullptr).model, 0);
}

TEST(DriveDatabase, RawAndMalformedInquiryStrings)
{
    // Raw inquiry fields: cut at the first zero byte and at their widths.
    const std::string vendor("PLEXTOR CD-ROM PX-40TS", 8);
    EXPECT_EQ(Match(vendor.c_str(), "CD-ROM PX-40TS  1.04").model, 96);
    EXPECT_EQ(MatchDriveDatabase({"PLEXTOR XYZ", "CD-ROM PX-40TS", "", ""}, nullptr).model, 96);
    EXPECT_EQ(MatchDriveDatabase({std::string("PLEX\0TOR", 8), "CD-ROM PX-40TS", "", ""}, nullptr).model, 0);
    EXPECT_EQ(MatchDriveDatabase({"NEC     ", std::string("CD-ROM DRIVE:282", 16), std::string("4.94\0", 5),
                                  std::string("99031000\0\xff", 10)}, nullptr).model, 66);
    const DriveMatch empty = MatchDriveDatabase({"", "", "", ""}, nullptr);
    EXPECT_EQ(empty.model, 0);
    EXPECT_EQ(empty.family, 0);
    const std::string junk("\x01\xff\x7f\x80\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00", 16);
    EXPECT_EQ(MatchDriveDatabase({junk, junk, junk, junk}, nullptr).model, 0);
}
