#include <gtest/gtest.h>

#include "transport/Text.h"

TEST(Text, HexNumberAcceptsEitherCaseUpToEightDigits)
{
    EXPECT_EQ(HexNumber("189C"), 0x189C);
    EXPECT_EQ(HexNumber("ffffffff"), 0xFFFFFFFFLL);
    EXPECT_EQ(HexNumber(""), 0);
    EXPECT_EQ(HexNumber("123456789"), -1);
    EXPECT_EQ(HexNumber("12G4"), -1);
    EXPECT_EQ(HexNumber(" 12"), -1);
}

TEST(Text, BeginsWithMeansTheFirstOccurrenceIsAtTheStart)
{
    EXPECT_TRUE(BeginsWith("m02 ", "m02 x"));
    EXPECT_FALSE(BeginsWith("M02", "m02 "));
    EXPECT_FALSE(BeginsWith("02", "m02"));
    EXPECT_TRUE(BeginsWith("", "abc"));
}

TEST(Text, TrimSpacesRemovesOnlyBlanks)
{
    EXPECT_EQ(TrimSpaces("  CD-ROM PX-40  "), "CD-ROM PX-40");
    EXPECT_EQ(TrimSpaces("\tx "), "\tx");
    EXPECT_EQ(TrimSpaces("   "), "");
}

TEST(Text, IntToHexPadsAndUsesUpperCase)
{
    EXPECT_EQ(IntToHex(0xab, 2), "AB");
    EXPECT_EQ(IntToHex(0x10000, 8), "00010000");
    EXPECT_EQ(IntToHex(0x123, 2), "123");
}
