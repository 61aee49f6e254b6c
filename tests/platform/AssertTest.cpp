#include <gtest/gtest.h>

#include "platform/Assert.h"

TEST(Assert, CarriesTextUnitAndLineAndNamesAnEmptyText)
{
    EXPECT_NO_THROW(KALMOR_ASSERT(true, "Targets", "never"));
    for (const std::string text : {"ExecSCSICmd: SRBpending!", ""}) {
        try {
            KALMOR_ASSERT(1 + 1 == 3, "Targets", text.c_str());
            FAIL() << "no exception";
        } catch (const EAssertionFailed& e) {
            const std::string shown = text.empty() ? "Assertion failure" : text;
            EXPECT_EQ(std::string(e.what()), shown + " (Targets, line " + std::to_string(e.line()) + ")");
        }
    }
}
