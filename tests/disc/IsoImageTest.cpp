// A disc from an ISO 9660 image made at test time.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "disc/DiscTestSupport.h"

namespace {

namespace fs = std::filesystem;

TEST_F(DiscTest, IsoImageGivesItsLabelAndIdentity)
{
    if (std::system("command -v genisoimage >/dev/null 2>&1") != 0) GTEST_SKIP() << "genisoimage is not installed";
    std::string dir = (fs::temp_directory_path() / "kalmor-disc-XXXXXX").string();
    ASSERT_NE(mkdtemp(dir.data()), nullptr);
    fs::create_directory(dir + "/content");
    std::ofstream(dir + "/content/readme.txt") << "An emulated disc.\n";
    const std::string iso = dir + "/x.iso";
    const std::string command = "genisoimage -quiet -V \"MY DISC\" -o \"" + iso + "\" \"" + dir + "/content\" >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const uint32_t blocks = uint32_t(fs::file_size(iso) / 2048);
    const std::string identity = "Daten-CD/\"MYDISC\"/1D0" + std::to_string(blocks - 1);

    auto disc = std::make_shared<emu::Disc>();
    ASSERT_EQ(disc->addImageTrack(iso), "");
    auto drive = OpenWith(FamilyMmc, disc);
    ASSERT_TRUE(drive->ReadTOC());
    EXPECT_EQ(drive->GetVolumeLabel(), "MYDISC");
    EXPECT_EQ(drive->DiscIdentity(80), identity);
    fs::remove_all(dir);
}

}  // namespace
