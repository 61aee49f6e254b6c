// The drive scenarios: each loads, identifies as its family and model, and follows a speed change.
#include "drive/CDROMTestSupport.h"
#include "emu/Scenario.h"
#include "transport/AspiManager.h"

namespace {

class CDROMScenarioTest : public CDROMTest {
protected:
    std::unique_ptr<TCDROM> OpenScenario(const std::string& name)
    {
        const emu::ScenarioResult loaded = emu::LoadScenario(std::string(KALMOR_SCENARIO_DIR) + "/" + name);
        EXPECT_EQ("", loaded.error);
        if (!loaded.manager) return nullptr;
        UnloadASPI32();
        emu::UninstallNative();
        manager_ = loaded.manager;
        emu::InstallNative(manager_);
        EXPECT_TRUE(RestartAspi());
        auto drive = std::make_unique<TCDROM>(0, 0, 0);
        manager_->clearLog();
        return drive;
    }
};

struct ScenarioCase {
    const char* file;
    const char* family;
    const char* model;
    int factor;
    bool taken;
    int step;  // CurrentSpeedStep afterwards
    const char* zone;
};

const ScenarioCase kCases[] = {
    {"generic-48x-mmc.json", "MMC", "GENERIC", 24, true, 24, ""},
    {"mmc-writer-8x4x32.json", "MMC", "GENERIC", 8, true, 8, ""},
    {"mmc-top-step-reports-more.json", "MMC", "GENERIC", 40, true, 40, ""},
    {"plextor-px40.json", "PLEXTOR", "UltraPlex 40max", 20, true, 20, "11x-20x PCAV"},
    {"plextor-px32-keeps-other-code.json", "PLEXTOR", "UltraPlex 32max", 1, false, 4, "4x CLV"},
    {"toshiba-xm6201ta.json", "TOSHIBA", "Toshiba XM-6201B", 8, true, 6, "6x-10x PCAV"},
    {"nec-cdr3001a.json", "MMC", "NEC CDR-3001A", 20, true, 8, ""},
    {"nec-without-capabilities-page.json", "NEC", "GENERIC", 8, true, -1, ""},
    {"philips-cdd2600.json", "PHILIPS_CDD2600", "Philips CDD2600", 4, true, 4, "4x CLV"},
    {"matshita-cr506.json", "MATSHITA", "Matsushita (old)", 2, true, 2, "2x CLV"},
    {"jvc-xrw2010-cdda12.json", "CDDA12", "JVC XR W2010", 2, true, 2, "2x CLV"},
};

}  // namespace

TEST_F(CDROMScenarioTest, EveryDriveScenarioIdentifiesAndChangesSpeed)
{
    for (const ScenarioCase& c : kCases) {
        SCOPED_TRACE(c.file);
        auto drive = OpenScenario(c.file);
        ASSERT_TRUE(drive && drive->Exists);
        EXPECT_EQ(c.family, drive->FamilyName());
        EXPECT_EQ(c.model, drive->ModelName());
        EXPECT_EQ(c.taken, drive->SetCDSpeed(c.factor));
        EXPECT_EQ(c.step, drive->CurrentSpeedStep());
        EXPECT_EQ(c.zone, drive->ZoneDescription);
    }
}

TEST_F(CDROMScenarioTest, NecDriveWithBuiltInTableNamesItsSlowReportingSteps)
{
    auto drive = OpenScenario("nec-cdr3001a.json");
    ASSERT_TRUE(drive);
    EXPECT_TRUE(drive->DetectSpeedSteps(true, true));
    EXPECT_TRUE(Cdbs().empty());
    EXPECT_TRUE(drive->SetCDSpeed(20));
    EXPECT_EQ(20, drive->CurrentSpeedStep());
    EXPECT_EQ("8x-20x CAV", drive->ZoneDescription);
    EXPECT_EQ("4x-10x CAV", drive->DaeZoneDescription);
}
