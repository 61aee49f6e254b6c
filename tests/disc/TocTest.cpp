// READ TOC, the track accessors, disc types and the disc identity, against emulated discs.
#include "disc/DiscTestSupport.h"
#include "platform/Assert.h"
#include "transport/Bytes.h"

namespace {

using emu::TrackKind;

std::shared_ptr<emu::Disc> Tracks(std::initializer_list<TrackKind> kinds, uint32_t length = 1000)
{
    auto disc = std::make_shared<emu::Disc>();
    for (TrackKind kind : kinds) disc->addTrack(kind, length);
    return disc;
}

// A format 0 answer: header, then (control, track, start) descriptors; the length field as given.
std::vector<uint8_t> TocBytes(uint16_t lengthField, uint8_t first, uint8_t last,
                              const std::vector<std::tuple<uint8_t, uint8_t, uint32_t>>& descriptors)
{
    std::vector<uint8_t> toc(4, 0);
    putBe16(toc.data(), lengthField);
    toc[2] = first;
    toc[3] = last;
    for (const auto& [control, track, start] : descriptors) {
        uint8_t d[8] = {0, uint8_t(0x10 | control), track, 0, 0, 0, 0, 0};
        putBe32(d + 4, start);
        toc.insert(toc.end(), d, d + 8);
    }
    return toc;
}

TEST_F(DiscTest, IdentitiesOfAudioAndDataDiscs)
{
    auto drive = OpenWith(FamilyMmc, AudioDisc(2, 15000));
    ASSERT_TRUE(drive->ReadTOC());
    const std::vector<std::vector<uint8_t>> requests = {
        {0x43, 0x00, 0x00, 0, 0, 0, 0, 0x03, 0x24, 0},
        {0x43, 0x00, 0x02, 0, 0, 0, 0, 0x10, 0x00, 0},
    };
    EXPECT_EQ(Cdbs(), requests);
    EXPECT_FALSE(drive->IsXaDisc());
    EXPECT_EQ(std::tuple(drive->TrackEnd(2), drive->DiscIdentity(80), drive->GetVolumeLabel()),
              std::tuple(29999, std::string("Audio-CD/1A0149992A114999"), std::string()));

    // Only maxLen cuts the identity.
    drive = OpenWith(FamilyMmc, AudioDisc(20, 15000));
    ASSERT_TRUE(drive->ReadTOC());
    const std::string whole = drive->DiscIdentity(0);
    ASSERT_GT(whole.size(), 80u);
    EXPECT_EQ(std::tuple(drive->DiscIdentity(-1), drive->DiscIdentity(80)), std::tuple(whole, whole.substr(0, 80)));

    drive = OpenWith(FamilyMmc, DataDisc("MY DISC   ", 20000));
    ASSERT_TRUE(drive->ReadTOC());
    EXPECT_EQ(drive->DiscIdentity(80), "Daten-CD/\"MYDISC\"/1D019999");
    // The label is cached until the next READ TOC.
    manager_->clearLog();
    EXPECT_EQ(drive->GetVolumeLabel(), "MYDISC");
    EXPECT_TRUE(Cdbs().empty());

    // An XA disc is told by its full TOC; without one the TOC stays valid and the disc is no XA disc.
    for (const bool fullToc : {true, false}) {
        drive = OpenWith(FamilyMmc, DataDisc("XA", 5000, TrackKind::Mode2Form1),
                         [=](const std::vector<uint8_t>& cdb) { return !fullToc && cdb[0] == 0x43 && cdb[2] == 0x02; });
        EXPECT_TRUE(drive->ReadTOC());
        EXPECT_EQ(drive->IsXaDisc(), fullToc);
    }
}

TEST_F(DiscTest, DiscTypesByTheirTracks)
{
    const TrackKind A = TrackKind::Audio;
    const TrackKind D = TrackKind::Mode1;
    const std::vector<std::pair<std::shared_ptr<emu::Disc>, std::string>> cases = {
        {Tracks({D}), "Daten-CD"},
        {Tracks({D, D}), "Daten-CD (2 Sessions)"},
        {Tracks({D, D, D, D, D}), "Daten-CD (mehrere Sessions)"},
        {Tracks({A, A, A}), "Audio-CD"},
        {Tracks({D, A, A}), "Mixed-Mode-CD"},
        {Tracks({A, A, D}), "CD-Extra"},
        {Tracks({A, D, A}), "unbekannte TOC"},
    };
    for (const auto& [disc, text] : cases) {
        auto drive = OpenWith(FamilyMmc, disc);
        ASSERT_TRUE(drive->ReadTOC());
        EXPECT_EQ(drive->DiscTypeText(), text);
    }
    EXPECT_EQ(TCDROM::DiscTypeText(DiscType(0x84)), "Audio-CD");  // only the low 7 bits count
}

// TOCs that lie: descriptors beyond the length field, a length field beyond the buffer, track
// numbers outside 1..99. Every lookup stays inside what was sent and inside the buffer.
TEST_F(DiscTest, MalformedTocsAreWalkedInsideWhatTheySent)
{
    // Track 3 is announced but the length field covers the descriptors of tracks 1 and 2 only.
    auto disc = AudioDisc(3, 1000);
    disc->setTocAnswer(TocBytes(2 + 2 * 8, 1, 3, {{0, 1, 0}, {0, 2, 1000}, {0, 3, 2000}, {0, 0xAA, 3000}}));
    auto drive = OpenWith(FamilyMmc, disc);
    ASSERT_TRUE(drive->ReadTOC());
    EXPECT_FALSE(drive->IsAudioTrack(3));
    // Track 2's end is unknown too: no present descriptor follows it.
    EXPECT_EQ(std::tuple(drive->TrackStart(3), drive->TrackEnd(3), drive->TrackEnd(2), drive->TrackEnd(1)),
              std::tuple(-1, -1, -1, 999));
    EXPECT_EQ(std::tuple(drive->GetDiscType(), drive->DiscIdentity(0)), std::tuple(dtCDExtra, std::string("CD-Extra/1A09992A1-10013D00")));

    // The length field claims 64 KB; track 77 has no descriptor: the search ends with the buffer.
    std::vector<std::tuple<uint8_t, uint8_t, uint32_t>> descriptors;
    for (uint8_t t = 1; t <= 99; ++t) descriptors.emplace_back(0, t == 77 ? 0 : t, (t - 1) * 100u);
    descriptors.emplace_back(0, 0xAA, 9900);
    descriptors.emplace_back(0, 0x77, 0xFFFFFFFF);  // beyond the 804 bytes: never seen
    disc = AudioDisc(1, 10000);
    disc->setTocAnswer(TocBytes(0xFFFF, 1, 99, descriptors));
    drive = OpenWith(FamilyMmc, disc);
    ASSERT_TRUE(drive->ReadTOC());
    EXPECT_EQ(std::tuple(drive->TrackStart(99), drive->TrackEnd(99), drive->TrackStart(50), drive->TrackStart(77), drive->GetDiscType()),
              std::tuple(9800, 9899, 4900, -1, dtUnknown));

    // Tracks 0 to 255: tracks 3..99 have no descriptor, so they count as data and the disc is of no known type.
    disc = AudioDisc(2, 1000);
    disc->setTocAnswer(TocBytes(2 + 3 * 8, 0, 0xFF, {{0, 1, 0}, {0, 2, 1000}, {0, 0xAA, 2000}}));
    drive = OpenWith(FamilyMmc, disc);
    ASSERT_TRUE(drive->ReadTOC());
    EXPECT_EQ(std::tuple(drive->FirstTrack(), drive->LastTrack(), drive->GetDiscType()), std::tuple(0, 0xFF, dtUnknown));
    const std::string identity = drive->DiscIdentity(0);
    EXPECT_EQ(identity.substr(0, 39) + "|" + identity.substr(identity.size() - 5), "unbekannte TOC/1A09992A19993D-200004D00|99D00");
}

TEST_F(DiscTest, FullTocLongerThanItsBufferIsWalkedInsideIt)
{
    std::vector<uint8_t> full(4 + 11 * 400, 0);
    putBe16(full.data(), 0xFFFF);
    // Descriptor 380 starts at byte 4184, beyond the 4096-byte buffer.
    uint8_t* late = full.data() + 4 + 11 * 380;
    late[3] = 0xA0;
    late[9] = 0x20;
    auto disc = DataDisc("LATE", 5000);
    disc->setFullTocAnswer(full);
    auto drive = OpenWith(FamilyMmc, disc);
    ASSERT_TRUE(drive->ReadTOC());
    EXPECT_FALSE(drive->IsXaDisc());

    // The same descriptor inside the buffer is found.
    full[4 + 11 * 300 + 3] = 0xA0;
    full[4 + 11 * 300 + 9] = 0x20;
    disc->setFullTocAnswer(full);
    ASSERT_TRUE(drive->ReadTOC());
    EXPECT_TRUE(drive->IsXaDisc());
}

TEST_F(DiscTest, LabelComesFromTheHighestIsoTrackLongEnough)
{
    auto disc = Tracks({TrackKind::Mode1, TrackKind::Mode1, TrackKind::Mode1, TrackKind::Audio}, 100);
    disc->tracks()[0].volumeId = "FIRST";
    disc->tracks()[1].volumeId = std::string("\x01\xFF -.\x80!", 7);  // a descriptor, no usable character
    auto drive = OpenWith(FamilyMmc, disc);  // track 3: no descriptor at all
    ASSERT_TRUE(drive->ReadTOC());
    EXPECT_TRUE(drive->IsISO9660Track(2) && !drive->IsISO9660Track(3));
    EXPECT_EQ(drive->GetVolumeLabel(), "FIRST");  // track 2 keeps no character

    disc->tracks()[1].volumeId = "SECOND_1";
    ASSERT_TRUE(drive->ReadTOC());
    EXPECT_EQ(drive->GetVolumeLabel(), "SECOND_1");

    drive = OpenWith(FamilyMmc, DataDisc("TINY", 16));
    ASSERT_TRUE(drive->ReadTOC());
    manager_->clearLog();
    EXPECT_FALSE(drive->IsISO9660Track(1));  // end 15 < start + 16
    EXPECT_TRUE(Cdbs().empty());
}

// A drive that sends less of a sector than asked for: the label holds only the bytes it sent,
// never what an earlier read left in the buffer.
TEST_F(DiscTest, ShortSectorAnswerGivesTheLabelOfTheBytesSent)
{
    struct ShortSectors : emu::Device {
        std::shared_ptr<emu::CdromDrive> drive;
        size_t kept = SIZE_MAX;
        uint8_t peripheralType() const override { return drive->peripheralType(); }
        emu::Reply execute(const emu::Command& command) override
        {
            emu::Reply reply = drive->handle(command);
            if (reply.data.size() >= 2048) reply.data.resize(std::min(kept, reply.data.size()));
            return reply;
        }
    };
    auto device = std::make_shared<ShortSectors>();
    device->drive = emu::MakeCdromDrive("EMULATED", "CD-ROM DISC", "1.00");
    device->drive->setMedium(DataDisc("FIRST LABEL"));
    auto drive = Open(device);
    ASSERT_TRUE(drive->ReadTOC());
    EXPECT_EQ(drive->GetVolumeLabel(), "FIRSTLABEL");
    device->kept = 48;  // the descriptor's start and 8 characters of the label
    ASSERT_TRUE(drive->ReadTOC());
    EXPECT_TRUE(drive->IsISO9660Track(1));
    EXPECT_EQ(drive->GetVolumeLabel(), "FIRSTLA");
}

TEST_F(DiscTest, WithoutATocAccessorsAssert)
{
    auto drive = OpenWith(FamilyMmc, nullptr);
    EXPECT_FALSE(drive->ReadTOC() || drive->TOCvalid);
    EXPECT_EQ(drive->Sense().asc, 0x3A);
    EXPECT_THROW(drive->FirstTrack(), EAssertionFailed);

    drive = OpenWith(FamilyMmc, AudioDisc(2, 1000));
    ASSERT_TRUE(drive->ReadTOC());
    EXPECT_THROW(drive->TrackStart(0), EAssertionFailed);
    EXPECT_THROW(drive->TrackStart(100), EAssertionFailed);
}

}  // namespace
