// The system services of the settings store against Wine.
#include <gtest/gtest.h>

#include <regex>

#include "platform/System.h"

TEST(Win32System, ProgramFileNameIsTheFullPathOfThisProgram)
{
    const std::string name = platform::ProgramFileName();
    EXPECT_TRUE(std::regex_match(name, std::regex(R"([A-Za-z]:\\.*\\wine_tests\.exe)", std::regex::icase))) << name;
}

TEST(Win32System, DateAndTimeFollowTheUserFormats)
{
    // An English (United States) user: M/d/yyyy and h:mm:ss AM/PM.
    EXPECT_TRUE(std::regex_match(platform::DateText(), std::regex(R"(\d{1,2}/\d{1,2}/\d{4})"))) << platform::DateText();
    EXPECT_TRUE(std::regex_match(platform::TimeText(), std::regex(R"(\d{1,2}:\d{2}:\d{2} (AM|PM))")))
        << platform::TimeText();
}
