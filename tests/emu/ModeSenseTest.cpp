#include <gtest/gtest.h>

#include "EmuTestHelpers.h"
#include "emu/CdromDrive.h"
#include "platform/host/Host.h"
#include "transport/ModeAnswers.h"

using namespace emutest;

namespace {

const std::vector<uint8_t> kPage0D = {0x0D, 0x06, 0x00, 0x05, 0x00, 0x3C, 0x00, 0x4B};
const std::vector<uint8_t> kPage2A = {0x2A, 0x04, 0x07, 0x01, 0x71, 0x63};

struct ModeSenseTest : testing::Test {
    void SetUp() override
    {
        platform::host::Reset();
        manager.addHostAdapter("EMU");
        drive = std::make_shared<emu::CdromDrive>(emu::InquiryData{});
        drive->setMediumType(0x70);
        drive->setDeviceSpecific(0x10);
        std::vector<uint8_t> changeable = {0x0D, 0x06, 0x00, 0x0F, 0x00, 0x00, 0x00, 0x00};
        std::vector<uint8_t> defaults = {0x0D, 0x06, 0x00, 0x00, 0x00, 0x3C, 0x00, 0x4B};
        std::vector<uint8_t> saved = {0x0D, 0x06, 0x00, 0x09, 0x00, 0x3C, 0x00, 0x4B};
        EXPECT_TRUE(drive->modePages().setPage({kPage0D, changeable, defaults, saved}));
        EXPECT_TRUE(drive->modePages().addPage(kPage2A));
        manager.attach(0, 0, 0, drive);
    }
    std::vector<uint8_t> sense6(uint8_t pageByte, uint8_t allocation = 255, uint8_t byte1 = 0x08)
    {
        auto r = SendIn(manager, 0, {0x1A, byte1, pageByte, 0, allocation, 0}, 255);
        EXPECT_EQ(r.status, SS_COMP);
        return std::vector<uint8_t>(r.data.begin(), r.data.begin() + (r.data[0] + 1));
    }
    DataIn sense10(uint8_t pageByte, uint16_t allocation = 1024)
    {
        return SendIn(manager, 0, {0x5A, 0x08, pageByte, 0, 0, 0, 0, uint8_t(allocation >> 8), uint8_t(allocation), 0},
                      1024);
    }
    static std::vector<uint8_t> Head(const DataIn& r, size_t n) { return {r.data.begin(), r.data.begin() + n}; }

    emu::Manager manager;
    std::shared_ptr<emu::CdromDrive> drive;
};

}  // namespace

TEST_F(ModeSenseTest, BothHeaderFormsCarryThePageOfThePageControlCutByTheAllocation)
{
    EXPECT_EQ(sense6(0x0D), Concat({{11, 0x70, 0x10, 0}, kPage0D}));
    auto r = sense10(0x2A);
    EXPECT_EQ(r.status, SS_COMP);
    EXPECT_EQ(Head(r, 14), Concat({{0, 12, 0x70, 0x10, 0, 0, 0, 0}, kPage2A}));
    EXPECT_EQ(r.data[14], 0xEE);
    // Changeable, default and saved values.
    EXPECT_EQ((std::vector<uint8_t>{sense6(0x4D)[7], sense6(0x8D)[7], sense6(0xCD)[7]}), (std::vector<uint8_t>{0x0F, 0x00, 0x09}));

    auto cut = sense10(0x3F, 10);
    EXPECT_EQ(Head(cut, 11), (std::vector<uint8_t>{0, 20, 0x70, 0x10, 0, 0, 0, 0, 0x0D, 0x06, 0xEE}));
    auto missing = SendIn(manager, 0, {0x1A, 0, 0x31, 0, 255, 0}, 255);
    EXPECT_EQ(std::tuple(missing.status, missing.srb.SenseArea[12]), std::tuple(uint32_t(SS_ERR), uint8_t(0x24)));
}

TEST_F(ModeSenseTest, SelectWritesOnlyChangeableBitsOfTheCurrentValues)
{
    std::vector<uint8_t> list = Concat({{0, 0, 0, 0}, {0x0D, 0x06, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}});
    EXPECT_EQ(SendOut(manager, 0, {0x15, 0x10, 0, 0, uint8_t(list.size()), 0}, list), SS_COMP);
    EXPECT_EQ(sense6(0x0D), Concat({{11, 0x70, 0x10, 0}, {0x0D, 0x06, 0x00, 0x0F, 0x00, 0x3C, 0x00, 0x4B}}));
    EXPECT_EQ(sense6(0xCD)[7], 0x09);  // saved untouched

    std::vector<uint8_t> list10 = Concat({{0, 0, 0, 0, 0, 0, 0, 0}, {0x0D, 0x06, 0, 0x03, 0, 0, 0, 0}});
    EXPECT_EQ(SendOut(manager, 0, {0x55, 0x11, 0, 0, 0, 0, 0, 0, uint8_t(list10.size()), 0}, list10), SS_COMP);
    // The save pages bit writes the saved values too, never the defaults.
    EXPECT_EQ((std::vector<uint8_t>{sense6(0x0D)[7], sense6(0xCD)[7], sense6(0x8D)[7]}), (std::vector<uint8_t>{0x03, 0x03, 0x00}));
}

TEST_F(ModeSenseTest, SelectRefusesUnknownPagesAndShortPagesAsAWhole)
{
    auto select = [&](std::vector<uint8_t> list) {
        auto srb = ExecSrb(0, 0, {0x15, 0x10, 0, 0, uint8_t(list.size()), 0}, SRB_DIR_OUT, list.data(),
                           uint32_t(list.size()));
        manager.sendCommand(&srb);
        return std::make_pair(srb.SRB_Status, srb.SenseArea[12]);
    };
    EXPECT_EQ(select(Concat({{0, 0, 0, 0}, {0x31, 0x02, 0x01, 0x02}})), std::make_pair(SS_ERR, uint8_t(0x26)));
    EXPECT_EQ(select(Concat({{0, 0, 0, 0}, {0x0D, 0x06, 0x00, 0x01}})), std::make_pair(SS_ERR, uint8_t(0x1A)));
    // A list with one good page and one bad one changes nothing.
    EXPECT_EQ(select(Concat({{0, 0, 0, 0}, {0x0D, 0x06, 0, 0x01, 0, 0, 0, 0}, {0x31, 0x02, 0x01, 0x02}})),
              std::make_pair(SS_ERR, uint8_t(0x26)));
    EXPECT_EQ(sense6(0x0D)[7], 0x05);
}
