#include <gtest/gtest.h>

#include "transport/Text.h"

TEST(Text, HexParsingFormattingAndTrimming)
{
    EXPECT_EQ(std::vector<int64_t>({HexNumber("189C"), HexNumber("ffffffff"), HexNumber(""), HexNumber("123456789"), HexNumber("12G4"), HexNumber(" 12")}),
              std::vector<int64_t>({0x189C, 0xFFFFFFFFLL, 0, -1, -1, -1}));
    EXPECT_EQ(IntToHex(0xab, 2) + " " + IntToHex(0x10000, 8) + " " + IntToHex(0x123, 2), "AB 00010000 123");
    EXPECT_EQ(TrimSpaces("  CD-ROM PX-40  ") + "|" + TrimSpaces("\tx "), "CD-ROM PX-40|\tx");
}
