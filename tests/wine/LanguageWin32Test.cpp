// The user's language as Wine reports it selects the texts. tools/wine-tests.sh runs this
// with several user languages and the identifier it expects in KALMOR_EXPECT_LANGID.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Locale.h"
#include "settings/Language.h"

TEST(Win32Language, UserLanguageChoosesTheTexts)
{
    const char* expected = std::getenv("KALMOR_EXPECT_LANGID");
    if (!expected) GTEST_SKIP() << "needs KALMOR_EXPECT_LANGID (set by tools/wine-tests.sh)";
    const unsigned long id = std::strtoul(expected, nullptr, 16);
    EXPECT_EQ(platform::UserLanguageId(), id);
    ChooseLanguage();
    const bool german = (id & 0x3FF) == 0x07;
    EXPECT_EQ(lg_EXIT, german ? "B&eenden" : "E&xit");
    EXPECT_EQ(lg_ABOUT, german ? "Über..." : "About...");
}
