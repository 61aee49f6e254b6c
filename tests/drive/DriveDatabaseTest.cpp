// The drive database and the fixed unit conversions and names of identification.
#include <gtest/gtest.h>

#include <algorithm>

#include "drive/DriveDatabase.h"
#include "drive/DriveModels.h"
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

} // namespace

TEST(DriveDatabase, SampleRowsOfEveryFamilyAndMatchKind)
{
    const struct {
        const char* vendor;
        const char* product;
        const char* revision;
        int family;
        int model;
    } cases[] = {
        {"HP      ", "C4324/C4325     ", "1.0 ", FamilyPhilipsCdd2000, 33},
        {"JVC     ", "XR-W2010        ", "1.0 ", FamilyCdda12, 39},
        {"PLEXTOR ", "CD-ROM PX-6X    ", "1.0 ", FamilyPlextor, 91},
        {"TEAC    ", "CD-ROM CD-532S  ", "3.0A", FamilyTeacScsi, 114},
        {"TOSHIBA ", "CD-ROM XM-6401TA", "1.0 ", FamilyToshiba, 153},
        {"IDE-CD  ", "R/RW 4x4x24     ", "1.04", FamilyMmc, 157},
        {"IDE-CD  ", "ReWritable-2x2x6", "3.01", FamilyMmc, 156},
        {"TOSHIBA ", "CD-ROM XM-5502TA", "1.0 ", FamilyUnknown, 150},  // family left to identification
    };
    for (const auto& c : cases) {
        const DriveMatch match = Match(c.vendor, c.product, c.revision);
        EXPECT_EQ(std::tuple(match.family, match.model), std::tuple(c.family, c.model)) << c.vendor << c.product;
    }
    for (const char* product : {"CDD-620         ", ""}) {
        EXPECT_EQ(std::tuple(Match("WEARNES ", product).model, Match("WEARNES ", product).family), std::tuple(158, int(FamilyMmc)));
    }
}

TEST(DriveDatabase, LaterMoreSpecificRowsWinAndComparisonsAreExact)
{
    // Exact products: trailing blanks count (the SONY row).
    EXPECT_EQ(std::vector<int>({Match("NEC     ", "CD-ROM DRIVE:282", "4.94", "99031000ABC").model,
                                Match("NEC     ", "CD-ROM DRIVE:282", "4.94", "98060900").model, Match("NEC     ", "CD-ROM DRIVE:465", "1.03", "").model,
                                Match("TEAC    ", "CD-532E-A       ", "3.0A").model, Match("TEAC    ", "CD-532E         ", "2.0 ").model,
                                Match("TEAC    ", "CD-532E-B       ", "3.0A").model, Match("Creative", " CD-ROM CD4832E ").model,
                                Match("CREATIVE", " CD-ROM CD4832E ").model, Match("SONY    ", "CD-ROM CDU-76S").model}),
              std::vector<int>({66, 64, 0, 123, 120, 124, 18, 0, 0}));
}

TEST(DriveDatabase, Flags)
{
    EXPECT_TRUE(Match("Creative", " CD-ROM CD4832E ").acceptSlowTopStep && !Match("ASUS    ", "CD-S360").acceptSlowTopStep);
    EXPECT_TRUE(Match("PLEXTOR ", "CD-ROM PX-32TS  ").c2Supported && !Match("PLEXTOR ", "CD-ROM PX-20TS  ").c2Supported);
}

TEST(DriveDatabase, CyberDrivesAreToldApartByMaximumSpeedReadOnlyWhenNeeded)
{
    const char* vendor = "        ";
    const char* product = "ATAPI CDROM     ";
    int reads = 0;
    EXPECT_EQ(Match(vendor, product, "110N", "", 40, &reads).model, 24);
    EXPECT_EQ(reads, 1);
    // An unreadable capabilities page (-1, none) leaves only the row without a speed test.
    EXPECT_EQ(std::vector<int>({Match(vendor, product, "110N", "", 44).model, Match(vendor, product, "110N", "", 45).model,
                                Match(vendor, product, "110N", "X1", 40).model, Match(vendor, product, "220C", "", -1).model,
                                MatchDriveDatabase({vendor, product, "110N", ""}, nullptr).model}),
              std::vector<int>({26, 0, 0, 20, 0}));
    reads = 0;
    Match("        ", "40X CD-ROM      ", "4.4B", "", 40, &reads);
    Match("PLEXTOR ", "CD-ROM PX-40TS  ", "1.00", "", 40, &reads);
    EXPECT_EQ(reads, 0);
}

TEST(DriveDatabase, RawAndMalformedInquiryStrings)
{
    // Raw inquiry fields: cut at the first zero byte and at their widths.
    EXPECT_EQ(MatchDriveDatabase({"PLEXTOR XYZ", "CD-ROM PX-40TS", "", ""}, nullptr).model, 96);
    EXPECT_EQ(MatchDriveDatabase({std::string("PLEX\0TOR", 8), "CD-ROM PX-40TS", "", ""}, nullptr).model, 0);
    EXPECT_EQ(MatchDriveDatabase({"NEC     ", std::string("CD-ROM DRIVE:282", 16), std::string("4.94\0", 5),
                                  std::string("99031000\0\xff", 10)}, nullptr).model, 66);
    const DriveMatch empty = MatchDriveDatabase({"", "", "", ""}, nullptr);
    EXPECT_EQ(std::tuple(empty.model, empty.family), std::tuple(0, 0));
    const std::string junk("\x01\xff\x7f\x80\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00", 16);
    EXPECT_EQ(MatchDriveDatabase({junk, junk, junk, junk}, nullptr).model, 0);
}

TEST(DriveTypes, ConversionsAndNames)
{
    EXPECT_EQ(std::vector<int>({FactorToKBps(4), FactorToKBps(-1), KBpsToFactor(705), KBpsToFactor(704), KBpsToFactor(703), KBpsToFactor(-1)}),
              std::vector<int>({795, -1, 4, 4, 3, -1}));
    EXPECT_EQ(FamilyName(9) + " " + FamilyName(10) + " " + FamilyName(-1), "NEC UNKNOWN UNKNOWN");

    const int unnamed[] = {0, 28, 76, 116, 144};
    for (int model = 0; model < kModelCount; ++model) {
        const bool isUnnamed = std::find(std::begin(unnamed), std::end(unnamed), model) != std::end(unnamed);
        const std::string name = ModelName(model, FamilyMmc);
        EXPECT_EQ(name == "GENERIC", isUnnamed) << model;
        EXPECT_EQ(ModelName(model, FamilyUnknown), isUnnamed ? "UNKNOWN" : name) << model;
    }
    EXPECT_EQ(ModelName(165, FamilyMmc) + " " + ModelName(-1, FamilyUnknown), "GENERIC UNKNOWN");
}
