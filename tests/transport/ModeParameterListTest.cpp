#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "support/Assertions.h"
#include "transport/Bytes.h"
#include "transport/ModeParameterList.h"
#include "ModeAnswers.h"

namespace {

const std::vector<uint8_t> kPageA = {0x01, 0x02, 0xAA, 0xBB};
const std::vector<uint8_t> kPageB = {0x0D, 0x06, 0x00, 0x08, 0x00, 0x3C, 0x00, 0x4B};
const std::vector<uint8_t> kPageC = {0x2A, 0x04, 0x11, 0x22, 0x33, 0x44};

void Load(TModeParameterList& list, const std::vector<uint8_t>& bytes, uint8_t format)
{
    list.Clear();
    std::memcpy(list.Data(), bytes.data(), bytes.size());
    list.SetFormat(format);
}

TEST(ModeParameterList, PagesAreFoundBehindHeaderAndBlockDescriptorsInBothFormats)
{
    const std::vector<uint8_t> descriptor(8, 0x77);
    for (uint8_t format : {MODE_SENSE_6, MODE_SENSE_10}) {
        TModeParameterList list;
        const auto pages = Concat({kPageA, kPageB, kPageC});
        Load(list, format == MODE_SENSE_6 ? Answer6(pages, descriptor) : Answer10(pages, descriptor), format);
        EXPECT_EQ(list.Length(), (format == MODE_SENSE_6 ? 4 : 8) + 8 + 18);
        // Block descriptor bytes (0x77) are no page; byte 6 of page 0x2A lies past the end of the list.
        EXPECT_EQ(std::vector<int>({list.GetModePageLen(0x0D), list.GetModePageLen(0x2A), list.GetModePageLen(0x0E), list.GetModePageLen(0x77)}),
                  std::vector<int>({8, 6, -1, -1}));
        EXPECT_EQ(std::vector<int>({list.PageByte(0x0D, 3), list.PageByte(0x2A, 5), list.PageByte(0x2A, 6)}), std::vector<int>({0x08, 0x44, -1}));
    }
    TModeParameterList savable;
    Load(savable, Answer10(Concat({{0x8D, 0x02, 0x01, 0x02}})), MODE_SENSE_10);
    EXPECT_EQ(std::tuple(savable.GetModePageLen(0x0D), savable.GetModePageLen(0x8D)), std::tuple(-1, 4));
}

TEST(ModeParameterList, StructureCheckWantsAscendingPagesEndingAtTheDeclaredLength)
{
    auto overrun = Answer10(Concat({kPageA, kPageB}));
    overrun[8 + 4 + 1] += 1;
    auto strayByte = Answer10(Concat({kPageA, kPageB}));
    putBe16(strayByte.data(), getBe16(strayByte.data()) + 1);
    const std::pair<std::vector<uint8_t>, bool> cases[] = {{Answer10(Concat({kPageA, kPageB, kPageC})), true},
                                                           {Answer10(Concat({kPageC, kPageB})), false},
                                                           {Answer10(Concat({kPageB, kPageB})), false},
                                                           {overrun, false},
                                                           {strayByte, false}};
    TModeParameterList list;
    for (const auto& [answer, valid] : cases) {
        Load(list, answer, MODE_SENSE_10);
        EXPECT_EQ(list.IsValid10(), valid);
    }
}

TEST(ModeParameterList, RepairShortensAFirstPageThatOvershootsByUpToFour)
{
    TModeParameterList list;
    for (int overshoot = 0; overshoot <= 5; ++overshoot) {
        auto answer = Answer10(Concat({kPageB}));
        answer[9] += uint8_t(overshoot);
        Load(list, answer, MODE_SENSE_10);
        EXPECT_EQ(list.RepairPageLength(0x0D), overshoot <= 4) << overshoot;
        EXPECT_EQ(list.IsValid10(), overshoot <= 4) << overshoot;
        if (overshoot <= 4) {
            EXPECT_EQ(list.GetModePageLen(0x0D), 8);
        }
    }
    // A first page whose length byte 0 is the answer's last byte: the length must not wrap.
    auto answer = Answer10({0x0D});
    answer.push_back(0x00);
    Load(list, answer, MODE_SENSE_10);
    EXPECT_FALSE(list.RepairPageLength(0x0D));
    EXPECT_EQ(list.Data()[9], 0x00);
}

TEST(ModeParameterList, ConversionRefusesWhatItCannotExplain)
{
    TModeParameterList list;
    auto noRepeat = SixByteHeaderIn10(Concat({kPageA, kPageB}), 0, 0);
    noRepeat[noRepeat.size() - 1] ^= 0xFF;
    Load(list, noRepeat, MODE_SENSE_10);
    EXPECT_FALSE(list.ConvertHeader());

    Load(list, SixByteHeaderIn10(Concat({kPageB, kPageA}), 0, 0), MODE_SENSE_10);
    EXPECT_FALSE(list.ConvertHeader());
}

// Lengths and offsets from a drive that point outside the list: every answer below
// must give plain results, never an access outside the 1024 bytes (the sanitizer build
// checks the latter).
TEST(ModeParameterList, MaliciousLengthsStayInsideTheList)
{
    TModeParameterList list;
    std::vector<uint8_t> bytes(TModeParameterList::kCapacity, 0xFE);

    putBe16(&bytes[0], 0xFFFF);  // mode data length far past the list
    putBe16(&bytes[6], 0);
    Load(list, bytes, MODE_SENSE_10);
    EXPECT_EQ(list.Length(), TModeParameterList::kCapacity);
    EXPECT_FALSE(list.IsValid10() || list.RepairPageLength(kAllModePages));
    EXPECT_EQ(std::vector<int>({list.GetModePageLen(0x0D), list.PageByte(0xFE, 1023 - 8), list.PageByte(0xFE, 1024 - 8), list.PageByte(0xFE, 0x7FFFFFFF)}),
              std::vector<int>({-1, 0xFE, -1, -1}));

    putBe16(&bytes[6], 0xFFFF);  // block descriptors far past the list
    Load(list, bytes, MODE_SENSE_10);
    EXPECT_EQ(list.GetModePageLen(0xFE), -1);
    EXPECT_FALSE(list.IsValid10() || list.RepairPageLength(kAllModePages));

    putBe16(&bytes[0], 1022);  // exactly the list, the walk's last page at its last byte
    putBe16(&bytes[6], 1015);
    bytes[1023] = 0x0D;
    Load(list, bytes, MODE_SENSE_10);
    EXPECT_EQ(list.GetModePageLen(0x0D), -1);
    EXPECT_FALSE(list.IsValid10() || list.RepairPageLength(0x0D));

    bytes.assign(TModeParameterList::kCapacity, 0xFF);  // 6-byte header: n = 255, descriptor 255
    Load(list, bytes, MODE_SENSE_6);
    EXPECT_EQ(list.Length(), 256);
    EXPECT_EQ(list.GetModePageLen(0xFF), -1);
    list.SetFormat(MODE_SENSE_10);
    EXPECT_FALSE(list.ConvertHeader());
}

TEST(ModeParameterList, PageRunningOffTheEndHasOnlyItsListedBytesAndSetStaysInside)
{
    TModeParameterList list;
    auto answer = Answer10(Concat({kPageA, kPageB}));
    answer[8 + 4 + 1] = 0x20;  // claims 32 parameter bytes, 6 are there
    Load(list, answer, MODE_SENSE_10);
    EXPECT_EQ(list.GetModePageLen(0x0D), 0x22);
    EXPECT_EQ(list.PageByte(0x0D, 7), 0x4B);
    EXPECT_EQ(list.PageByte(0x0D, 8), -1);
    list.SetPageByte(0x0D, 20, 0x55);  // inside the claimed page, outside the list: ignored
    EXPECT_EQ(list.PageByte(0x0D, 20), -1);
    EXPECT_EQ(list.Data()[12 + 20], 0);
    list.SetPageByte(0x0D, 7, 0x99);
    EXPECT_EQ(list.Data()[12 + 7], 0x99);
    EXPECT_EQ(AssertionOf([&] { list.SetPageByte(0x0D, 0x22, 1); }), "index < GetModePageLen(pagecode) / Targets");
    EXPECT_EQ(AssertionOf([&] { list.SetPageByte(0x0E, 0, 1); }), "index < GetModePageLen(pagecode) / Targets");
}

}  // namespace
