#include <gtest/gtest.h>

#include "platform/Assert.h"

TEST(Assert, CarriesTextUnitAndLine)
{
    try {
        KALMOR_ASSERT(1 + 1 == 3, "Targets", "ExecSCSICmd: SRBpending!");
        FAIL() << "no exception";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.text(), "ExecSCSICmd: SRBpending!");
        EXPECT_EQ(e.unit(), "Targets");
        EXPECT_EQ(std::string(e.what()), "ExecSCSICmd: SRBpending! (Targets, line " + std::to_string(e.line()) + ")");
    }
}

TEST(Assert, EmptyTextBecomesAssertionFailure)
{
    try {
        KALMOR_ASSERT(false, "CDROMTargets", "");
        FAIL() << "no exception";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.text(), "Assertion failure");
        EXPECT_EQ(e.unit(), "CDROMTargets");
    }
}

TEST(Assert, HoldsWhenTrue) { EXPECT_NO_THROW(KALMOR_ASSERT(true, "Targets", "never")); }
