// The Win32 bodies of the system facts against Wine: version resources and file existence.
#include <gtest/gtest.h>

#include "diag/SystemInfo.h"
#include "platform/Library.h"
#include "platform/System.h"
#include "platform/SystemInfo.h"

namespace {

std::string SystemFile(const std::string& name)
{
    char buffer[260] = {};
    const uint32_t length = platform::SystemDirectory(buffer, sizeof buffer);
    return std::string(buffer, length) + "\\" + name;
}

}  // namespace

TEST(Win32SystemInfo, FileExistsOnlyForFiles)
{
    EXPECT_TRUE(platform::FileExists(platform::ProgramFileName()));
    EXPECT_TRUE(platform::FileExists(SystemFile("kernel32.dll")));
    EXPECT_FALSE(platform::FileExists(SystemFile("")));
    EXPECT_FALSE(platform::FileExists(SystemFile("no-such-file.dll")));
}

TEST(Win32SystemInfo, VersionResourceOfASystemLibrary)
{
    const std::string kernel = SystemFile("kernel32.dll");
    const auto fixed = platform::FileVersionValue(kernel, "\\");
    ASSERT_TRUE(fixed.has_value());
    ASSERT_GE(fixed->size(), 16u);
    EXPECT_EQ((*fixed)[0] | (*fixed)[1] << 8 | (*fixed)[2] << 16 | (*fixed)[3] << 24, int(0xFEEF04BD));
    EXPECT_FALSE(FileVersionText(kernel).empty());
    const std::string description = VersionInformation(kernel, 2);
    EXPECT_FALSE(description.empty());
    EXPECT_EQ(description.find('\0'), std::string::npos);

    // The test program has no version resource; a missing file has none either.
    EXPECT_FALSE(platform::FileVersionValue(platform::ProgramFileName(), "\\").has_value());
    EXPECT_EQ(VersionInformation(SystemFile("no-such-file.dll"), 1), "");
    EXPECT_FALSE(platform::FileVersionValue(kernel, "\\StringFileInfo\\00000000\\CompanyName").has_value());
}
