#include <gtest/gtest.h>

#include "transport/Text.h"

TEST(Text, HexParsingFormattingAndTrimming)
{
    EXPECT_EQ(HexNumber("189C"), 0x189C);
    EXPECT_EQ(HexNumber("ffffffff"), 0xFFFFFFFFLL);
    EXPECT_EQ(HexNumber(""), 0);
    for (const char* bad : {"123456789", "12G4", " 12"}) EXPECT_EQ(HexNumber(bad), -1) << bad;
    EXPECT_EQ(IntToHex(0xab, 2), "AB");
    EXPECT_EQ(IntToHex(0x10000, 8), "00010000");
    EXPECT_EQ(IntToHex(0x123, 2), "123");
    EXPECT_EQ(TrimSpaces("  CD-ROM PX-40  "), "CD-ROM PX-40");
    EXPECT_EQ(TrimSpaces("\tx "), "\tx");
}
