// Sector reads per family: the commands sent, their order when some fail, block-size changes,
// and the bytes that arrive.
#include "disc/DiscTestSupport.h"
#include "platform/Assert.h"

namespace {

using emu::TrackKind;
using Bytes = std::vector<uint8_t>;

const Bytes kDataList = {0, 0, 0, 8, 0x00, 0, 0, 0, 0, 0x00, 0x08, 0x00};
const Bytes kRawList = {0, 0, 0, 8, 0x00, 0, 0, 0, 0, 0x00, 0x09, 0x30};
const Bytes kAudioList = {0, 0, 0, 8, 0x82, 0, 0, 0, 0, 0x00, 0x09, 0x30};

Bytes DataBlocks(uint32_t lba, uint32_t count)
{
    Bytes bytes;
    for (uint32_t s = 0; s < count; ++s) {
        for (uint32_t i = 0; i < emu::kBlockSize; ++i) bytes.push_back(emu::Disc::DataByte(lba + s, i));
    }
    return bytes;
}

// Data track 1 at 0..999, audio track 2 at 1000..1999.
std::shared_ptr<emu::Disc> MixedDisc()
{
    auto disc = std::make_shared<emu::Disc>();
    disc->addTrack(TrackKind::Mode1, 1000);
    disc->addTrack(TrackKind::Audio, 1000);
    return disc;
}

TEST_F(DiscTest, MmcDataReadUsesReadCdBySectorType)
{
    auto drive = OpenWith(FamilyMmc, DataDisc("XA", 5000, TrackKind::Mode2Form1));
    ASSERT_TRUE(drive->ReadTOC());
    manager_->clearLog();
    Bytes buffer(2 * 2048);
    ASSERT_TRUE(drive->ReadData(100, 2, buffer.data(), uint32_t(buffer.size())));
    EXPECT_EQ(Cdbs(), (std::vector<Bytes>{{0xBE, 0x10, 0, 0, 0, 100, 0, 0, 2, 0x10, 0, 0}}));
    EXPECT_EQ(buffer, DataBlocks(100, 2));
    EXPECT_EQ(drive->NextLba, 102);
}

TEST_F(DiscTest, DataAndAudioFallBackInOrder)
{
    auto drive = OpenWith(FamilyMmc, DataDisc("D"), Failing({0xBE, 0x28}));
    Bytes buffer(2352);
    ASSERT_TRUE(drive->ReadData(30, 1, buffer.data(), 2048));
    EXPECT_EQ(Opcodes(), (Bytes{0xBE, 0x28, 0xA8}));
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 2048), DataBlocks(30, 1));

    // Without a family: READ CD for Mode 1 meets a Mode 2 sector and fails; Mode 2 Form 1 reads it.
    drive = OpenWith(FamilyUnknown, DataDisc("XA", 5000, TrackKind::Mode2Form1), Failing({0x08, 0x28, 0xA8}));
    emu_->disc().commands().readCd = true;
    ASSERT_TRUE(drive->ReadData(40, 1, buffer.data(), 2048));
    const std::vector<Bytes> cdbs = Cdbs();
    ASSERT_EQ(Opcodes(), (Bytes{0x08, 0x28, 0xA8, 0xBE, 0xBE}));
    EXPECT_EQ(Bytes({cdbs[3][1], cdbs[4][1]}), Bytes({0x08, 0x10}));
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 2048), DataBlocks(40, 1));

    drive = OpenWith(FamilyUnknown, AudioDisc(1, 1000));
    emu_->disc().commands().cddaD4Long = true;
    ASSERT_TRUE(drive->ReadAudio(9, 1, buffer.data(), 2352));
    EXPECT_EQ(Opcodes(), (Bytes{0xBE, 0xD8, 0xD4}));
    EXPECT_EQ(buffer, AudioSectors(9, 1));
    // No raw read without a family.
    manager_->clearLog();
    EXPECT_FALSE(drive->ReadRaw(9, 1, buffer.data(), 2352));
    EXPECT_TRUE(Cdbs().empty());
}

TEST_F(DiscTest, VendorAudioReadsByFamily)
{
    const std::vector<std::pair<uint8_t, Bytes>> cases = {
        {FamilyCdda12, {0xD8, 0, 0, 0, 0, 5, 0, 0, 0, 2, 0, 0}},
        {FamilyTeacScsi, {0xD8, 0, 0, 0, 0, 5, 0, 0, 0, 2, 0, 0}},
        {FamilyPlextor, {0xD8, 0, 0, 0, 0, 5, 0, 0, 0, 2, 0, 0}},
        {FamilyMatshita, {0xD4, 0, 0, 0, 0, 5, 0, 0, 0, 2, 0, 0}},
        {FamilyMmc, {0xBE, 0x04, 0, 0, 0, 5, 0, 0, 2, 0x10, 0, 0}},
        // Raw blocks first; the drive delivers every byte pair exchanged, put back in sample order.
        {FamilyPhilipsCdd2000, {0x28, 0, 0, 0, 0, 5, 0, 0, 2, 0}},
    };
    for (const auto& [family, cdb] : cases) {
        SCOPED_TRACE(int(family));
        auto drive = OpenWith(family, AudioDisc(1, 1000));
        Bytes buffer(2 * 2352);
        ASSERT_TRUE(drive->ReadAudio(5, 2, buffer.data(), uint32_t(buffer.size())));
        const bool raw = family == FamilyPhilipsCdd2000;
        EXPECT_EQ(std::tuple(Cdbs().back(), Cdbs().size()), std::tuple(cdb, raw ? 2u : 1u));
        EXPECT_EQ(ModeSelects(), raw ? std::vector<Bytes>{kRawList} : std::vector<Bytes>{});
        EXPECT_EQ(buffer, AudioSectors(5, 2));
        EXPECT_EQ(drive->NextLba, 7);
    }
}

TEST_F(DiscTest, ToshibaAudioAfterDataSwitchesTheDensityOnce)
{
    auto drive = OpenWith(FamilyToshiba, MixedDisc());
    Bytes data(2048);
    ASSERT_TRUE(drive->ReadData(0, 1, data.data(), 2048));
    manager_->clearLog();

    Bytes audio(2 * 2352);
    ASSERT_TRUE(drive->ReadAudio(1000, 2, audio.data(), uint32_t(audio.size())));
    EXPECT_EQ(Cdbs(), (std::vector<Bytes>{{0x15, 0x10, 0, 0, 12, 0}, {0x28, 0, 0, 0, 0x03, 0xE8, 0, 0, 2, 0}}));
    EXPECT_EQ(ModeSelects(), std::vector<Bytes>{kAudioList});
    EXPECT_EQ(audio, AudioSectors(1000, 2));
    EXPECT_EQ(drive->BlockMode, kBlockAudio);

    manager_->clearLog();
    ASSERT_TRUE(drive->ReadAudio(1002, 1, audio.data(), uint32_t(audio.size())));
    EXPECT_EQ(Opcodes(), (Bytes{0x28}));
}

TEST_F(DiscTest, NecAudioReadGoesThroughItsSwitchAndBack)
{
    auto drive = OpenWith(FamilyNec, MixedDisc());
    emu_->disc().necPage()[6] = 0x04;
    Bytes audio(2352);
    ASSERT_TRUE(drive->ReadAudio(1000, 1, audio.data(), 2352));
    // Unknown mode: enter and leave once, then enter for audio.
    EXPECT_EQ(Opcodes(), (Bytes{0xCA, 0xC5, 0xCA, 0xC5, 0xCA, 0xC5, 0xD4}));
    EXPECT_EQ((std::vector<Bytes>{Cdbs(0xCA)[0], Cdbs(0xC5)[0], Cdbs(0xD4)[0]}),
              (std::vector<Bytes>{{0xCA, 0x08, 0x0F, 0, 0, 0, 0, 0, 12, 0}, {0xC5, 0x10, 0, 0, 0, 0, 0, 0, 12, 0},
                                  {0xD4, 0, 0, 0, 0x03, 0xE8, 0, 0, 1, 0}}));
    EXPECT_EQ(audio, AudioSectors(1000, 1));
    EXPECT_EQ(std::tuple(emu_->disc().necPage()[6], drive->NecAudioBit), std::tuple(uint8_t(0x24), uint8_t(0)));

    // Back to data: the switch returns to its former state before the block size is set.
    manager_->clearLog();
    ASSERT_TRUE(drive->ReadData(3, 1, audio.data(), 2048));
    EXPECT_EQ(Opcodes(), (Bytes{0xCA, 0xC5, 0x15, 0x28}));
    EXPECT_EQ(emu_->disc().necPage()[6], 0x04);

    // A bit that was already set stays set on the way back.
    emu_->disc().necPage()[6] = 0x20;
    EXPECT_EQ(drive->SetBlockMode(kBlockAudio), kBlockAudio);
    EXPECT_EQ(drive->NecAudioBit, 0x20);
    EXPECT_EQ(drive->SetBlockMode(kBlockData), kBlockData);
    EXPECT_EQ(emu_->disc().necPage()[6], 0x20);
}

TEST_F(DiscTest, ModeSelectFamiliesReadDataAfterTheDataList)
{
    auto drive = OpenWith(FamilyPlextor, DataDisc("P"));
    Bytes buffer(256 * 2048);
    ASSERT_TRUE(drive->ReadData(20, 2, buffer.data(), 2 * 2048));
    EXPECT_EQ(std::tuple(Opcodes(), ModeSelects(), drive->BlockMode), std::tuple(Bytes{0x15, 0x28}, std::vector<Bytes>{kDataList}, kBlockData));

    drive = OpenWith(FamilyPlextor, DataDisc("P"), Failing({0x28}));
    ASSERT_TRUE(drive->ReadData(20, 2, buffer.data(), 2 * 2048));
    EXPECT_EQ(Opcodes(), (Bytes{0x15, 0x28, 0x08}));
    EXPECT_EQ(Cdbs(0x08)[0], (Bytes{0x08, 0, 0, 20, 2, 0}));
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 4096), DataBlocks(20, 2));
    // READ(6) cannot carry 256 blocks.
    manager_->clearLog();
    EXPECT_FALSE(drive->ReadData(20, 256, buffer.data(), uint32_t(buffer.size())));
    EXPECT_EQ(Opcodes(), (Bytes{0x28}));

    // A rejected MODE SELECT leaves the mode unknown and the read still goes out.
    drive = OpenWith(FamilyToshiba, DataDisc("T"), Failing({0x15}));
    EXPECT_TRUE(drive->ReadData(20, 1, buffer.data(), 2048));
    EXPECT_EQ(std::tuple(Opcodes(), drive->BlockMode), std::tuple(Bytes{0x15, 0x28}, kBlockUnknown));
}

TEST_F(DiscTest, RawReadsCheckEverySync)
{
    auto disc = DataDisc("R", 5000);
    disc->addSectorWithoutSync(11);
    auto drive = OpenWith(FamilyMmc, disc);
    Bytes buffer(2 * 2352);
    drive->NextLba = 3;
    EXPECT_FALSE(drive->ReadRaw(10, 2, buffer.data(), uint32_t(buffer.size())));
    EXPECT_EQ(std::tuple(drive->NextLba, Cdbs()), std::tuple(3, std::vector<Bytes>{{0xBE, 0x08, 0, 0, 0, 10, 0, 0, 2, 0xF8, 0, 0}}));

    ASSERT_TRUE(drive->ReadRaw(12, 2, buffer.data(), uint32_t(buffer.size())));
    EXPECT_TRUE(drive->NextLba == 14 && TCDROM::SyncCheck(buffer.data() + 2352));
    // Header of LBA 12: 00:02:12 in BCD, Mode 1; user data follows it.
    EXPECT_EQ(Bytes(buffer.begin() + 12, buffer.begin() + 16), (Bytes{0x00, 0x02, 0x12, 0x01}));
    EXPECT_EQ(Bytes(buffer.begin() + 16, buffer.begin() + 16 + 2048), DataBlocks(12, 1));
}

TEST_F(DiscTest, VendorRawReadsSwitchToRawBlocks)
{
    auto disc = DataDisc("R", 5000);
    disc->addSectorWithoutSync(11);
    auto drive = OpenWith(FamilyCdda12, disc);
    Bytes buffer(2 * 2352);
    ASSERT_TRUE(drive->ReadRaw(12, 2, buffer.data(), uint32_t(buffer.size())));
    EXPECT_EQ(std::tuple(ModeSelects(), drive->BlockMode, buffer[15]), std::tuple(std::vector<Bytes>{kRawList}, kBlockRaw, uint8_t(0x01)));
    EXPECT_FALSE(drive->ReadRaw(10, 2, buffer.data(), uint32_t(buffer.size())));

    // The next data read sets 2048-byte blocks again and gets plain user data.
    manager_->clearLog();
    ASSERT_TRUE(drive->ReadData(12, 1, buffer.data(), 2048));
    EXPECT_EQ(ModeSelects(), std::vector<Bytes>{kDataList});
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 2048), DataBlocks(12, 1));
}

TEST_F(DiscTest, ReadErrorsFailEveryFallback)
{
    auto disc = DataDisc("E", 5000);
    disc->addReadError(50, 59);
    auto drive = OpenWith(FamilyMmc, disc);
    Bytes buffer(2 * 2048);
    drive->NextLba = 12;
    EXPECT_FALSE(drive->ReadData(49, 2, buffer.data(), uint32_t(buffer.size())));
    EXPECT_EQ(std::tuple(Opcodes(), drive->NextLba, drive->Sense().asc), std::tuple(Bytes{0xBE, 0x28, 0xA8, 0x08}, 12, uint8_t(0x11)));
    EXPECT_TRUE(drive->ReadData(60, 2, buffer.data(), uint32_t(buffer.size())));
}

TEST_F(DiscTest, SmallBuffersAreProgrammingErrors)
{
    auto drive = OpenWith(FamilyMmc, DataDisc("S"));
    Bytes buffer(2 * 2352);
    EXPECT_THROW(drive->ReadRaw(0, 2, buffer.data(), 2 * 2352 - 1), EAssertionFailed);
    EXPECT_THROW(drive->ReadAudio(0, 3, buffer.data(), uint32_t(buffer.size())), EAssertionFailed);
    EXPECT_THROW(drive->ReadData(0, 3, buffer.data(), 2 * 2048), EAssertionFailed);
    // A count whose byte total does not fit 32 bits is no way around it.
    EXPECT_THROW(drive->ReadData(0, 0x200000, buffer.data(), uint32_t(buffer.size())), EAssertionFailed);
    EXPECT_TRUE(Cdbs().empty());
    EXPECT_THROW(TCDROM::ByteSwap(buffer.data(), 3), EAssertionFailed);
}

}  // namespace
