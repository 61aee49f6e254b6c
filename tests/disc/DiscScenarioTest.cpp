// Discs from scenario files and from ISO 9660 images made at test time.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "disc/DiscTestSupport.h"
#include "emu/Scenario.h"

namespace {

namespace fs = std::filesystem;

const std::string kDir = KALMOR_SCENARIO_DIR;

class DiscScenarioTest : public DiscTest {
protected:
    // The drive at the target id of the scenario's first adapter, opened as TCDROM.
    std::unique_ptr<TCDROM> OpenScenario(const std::string& name, uint8_t target = 0)
    {
        emu::ScenarioResult result = emu::LoadScenario(kDir + "/" + name);
        EXPECT_EQ(result.error, "");
        if (!result.manager) return nullptr;
        return Open(result.manager->device(0, target, 0), target);
    }
};

TEST_F(DiscScenarioTest, ScenarioDiscsAndTheirIdentities)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"audio-cd.json", "Audio-CD/1A0149992A114999"},
        {"data-cd.json", "Daten-CD/\"MYDISC\"/1D019999"},
        {"multisession-data.json", "Daten-CD (2 Sessions)/\"SECOND\"/1D0233992D17999"},
        {"mixed-mode.json", "Mixed-Mode-CD/\"GAME\"/1D0299992A1119993A189994A114999"},
        {"cd-extra.json", "CD-Extra/\"EXTRA\"/1A0179992A1159993A1313994D18999"},
        {"audio-data-audio.json", "unbekannte TOC/\"MIDDLE\"/1A099992D149993A19999"},
        {"xa-disc.json", "Daten-CD/\"PHOTO_CD\"/1D024999"},
    };
    for (const auto& [file, identity] : cases) {
        auto drive = OpenScenario(file);
        ASSERT_TRUE(drive && drive->ReadTOC()) << file;
        EXPECT_EQ(drive->Family, FamilyMmc) << file;
        EXPECT_EQ(drive->DiscIdentity(0), identity) << file;
        EXPECT_EQ(drive->IsXaDisc(), file == "xa-disc.json") << file;
    }
}

TEST_F(DiscScenarioTest, ScenarioReadErrorsAndMissingSync)
{
    auto drive = OpenScenario("read-errors.json");
    ASSERT_TRUE(drive && drive->ReadTOC());
    std::vector<uint8_t> buffer(2352);
    EXPECT_TRUE(drive->ReadData(11999, 1, buffer.data(), 2048));
    EXPECT_FALSE(drive->ReadData(12050, 1, buffer.data(), 2048));
    EXPECT_FALSE(drive->ReadRaw(5000, 1, buffer.data(), 2352));
    EXPECT_TRUE(drive->ReadRaw(5001, 1, buffer.data(), 2352));
}

// A scratch folder removed with the test.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "kalmor-disc-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern : "";
    }
    ~TempDir()
    {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

TEST_F(DiscScenarioTest, IsoImageGivesItsLabelAndIdentity)
{
    if (std::system("command -v genisoimage >/dev/null 2>&1") != 0) GTEST_SKIP() << "genisoimage is not installed";
    TempDir dir;
    ASSERT_FALSE(dir.path().empty());
    fs::create_directory(dir.path() + "/content");
    std::ofstream(dir.path() + "/content/readme.txt") << "An emulated disc.\n";
    const std::string iso = dir.path() + "/x.iso";
    const std::string command =
        "genisoimage -quiet -V \"MY DISC\" -o \"" + iso + "\" \"" + dir.path() + "/content\" >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const uint32_t blocks = uint32_t(fs::file_size(iso) / 2048);
    const std::string identity = "Daten-CD/\"MYDISC\"/1D0" + std::to_string(blocks - 1);

    auto disc = std::make_shared<emu::Disc>();
    ASSERT_TRUE(disc->addImageTrack(iso));
    auto drive = OpenWith(FamilyMmc, disc);
    ASSERT_TRUE(drive->ReadTOC());
    EXPECT_EQ(drive->GetVolumeLabel(), "MYDISC");
    EXPECT_EQ(drive->DiscIdentity(80), identity);

    // The same image named by a scenario.
    const std::string text = R"({"hostAdapters": [{"targets": [{"id": 2, "disc": {"tracks": [{"image": ")" + iso +
                             R"("}]}}]}]})";
    emu::ScenarioResult result = emu::ParseScenario(text, "iso.json");
    ASSERT_EQ(result.error, "");
    drive = Open(result.manager->device(0, 2, 0), 2);
    ASSERT_TRUE(drive->ReadTOC());
    EXPECT_EQ(drive->DiscIdentity(80), identity);

    const std::string missing = dir.path() + "/missing.iso";
    const std::string broken = R"({"hostAdapters": [{"targets": [{"id": 2, "disc": {"tracks": [{"image": ")" +
                               missing + R"("}]}}]}]})";
    EXPECT_EQ(emu::ParseScenario(broken, "iso.json").error,
              "iso.json: field hostAdapters[0].targets[0].disc.tracks[0].image: cannot read an ISO 9660 image from " +
                  missing);
}

}  // namespace
