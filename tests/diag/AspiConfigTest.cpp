// The ASPI configuration check: which Windows is examined, which question comes when, and
// the ExcludeMiniports value before and after each answer.
#include <gtest/gtest.h>

#include "diag/AspiConfig.h"
#include "platform/Registry.h"
#include "platform/host/Host.h"
#include "platform/host/HostRegistry.h"
#include "platform/host/HostSystemInfo.h"
#include "settings/Language.h"

using platform::MessageResult;
using platform::RegRoot;
namespace host = platform::host;

namespace {

const char* const kParameters = "SYSTEM\\CurrentControlSet\\Services\\Aspi32\\Parameters";
const char* const kAdapters = "HARDWARE\\RESOURCEMAP\\ScsiAdapter";

const platform::OsVersionRecord kNt4{4, 0, 1381, "Service Pack 6"};
const platform::OsVersionRecord kBuild2072{5, 0, 2072, ""};
const platform::OsVersionRecord kBuild2128{5, 0, 2128, " RC2"};
const platform::OsVersionRecord kBuild2195{5, 0, 2195, "Service Pack 4"};
const platform::OsVersionRecord kWin98{4, 10, 2222, " A"};

enum Question { Virtual, NoAtapi };
constexpr uint32_t kNoValue = host::kRegNone;

struct Row {
    const char* what;
    platform::OsVersionRecord os;
    uint32_t type;  // of the ExcludeMiniports value; kNoValue: none
    std::string before;
    std::vector<std::string> loaded;
    std::vector<MessageResult> answers;
    std::vector<Question> asked;
    std::string after;  // the string value afterwards (when it is one)
    bool changed;
};

const Row kRows[] = {
    {"empty list, virtual drive loaded", kNt4, host::kRegSz, "", {"FASTCDMP"}, {MessageResult::Yes}, {Virtual},
     "FASTCDMP", true},
    {"virtual drive, answer no", kNt4, host::kRegSz, "", {"FastCdMp"}, {MessageResult::No}, {Virtual}, "", false},
    {"virtual drive joins a list", kNt4, host::kRegSz, "abc", {"fastcdmp"}, {MessageResult::Yes}, {Virtual},
     "ABC;FASTCDMP", true},
    {"virtual drive already excluded", kNt4, host::kRegSz, "x;fastcdmp", {"FASTCDMP"}, {}, {}, "x;fastcdmp", false},
    {"virtual drive not loaded", kNt4, host::kRegSz, "", {"aic78xx"}, {}, {}, "", false},
    {"atapi first in the list", kNt4, host::kRegSz, "atapi;Sym", {"atapi"}, {MessageResult::Yes}, {NoAtapi},
     "SYM", true},
    {"atapi last in the list", kNt4, host::kRegSz, "Sym;ATAPI", {"Atapi"}, {MessageResult::Yes}, {NoAtapi}, "SYM",
     true},
    {"atapi alone", kNt4, host::kRegSz, "ATAPI", {"atapi"}, {MessageResult::Yes}, {NoAtapi}, "", true},
    {"atapi in the middle", kNt4, host::kRegSz, "a;atapi;b", {"atapi"}, {MessageResult::Yes}, {NoAtapi}, "A;B",
     true},
    {"atapi excluded but not loaded", kNt4, host::kRegSz, "ATAPI", {"aic78xx"}, {}, {}, "ATAPI", false},
    {"atapi loaded and not excluded", kNt4, host::kRegSz, "aic78xx", {"atapi"}, {}, {}, "aic78xx", false},
    {"all three corrections", kNt4, host::kRegSz, "piixide;atapi", {"atapi", "FASTCDMP", "PIIXIDE"},
     {MessageResult::Yes, MessageResult::Yes, MessageResult::Yes}, {Virtual, NoAtapi, NoAtapi}, "FASTCDMP", true},
    {"only piixide accepted", kNt4, host::kRegSz, "piixide;atapi", {"atapi", "FASTCDMP", "PIIXIDE"},
     {MessageResult::No, MessageResult::No, MessageResult::Yes}, {Virtual, NoAtapi, NoAtapi}, "ATAPI", true},
    {"every answer no", kNt4, host::kRegSz, "piixide;atapi", {"atapi", "FASTCDMP", "PIIXIDE"},
     {MessageResult::No, MessageResult::No, MessageResult::No}, {Virtual, NoAtapi, NoAtapi}, "piixide;atapi", false},
    {"no value", kNt4, kNoValue, "", {"atapi", "FASTCDMP"}, {}, {}, "", false},
    {"value of another type", kNt4, host::kRegExpandSz, "ATAPI", {"atapi", "FASTCDMP"}, {}, {}, "", false},
    {"build 2072, atapi not loaded", kBuild2072, host::kRegSz, "ATAPI", {}, {MessageResult::Yes}, {NoAtapi}, "",
     true},
    {"build 2128, no virtual-drive check", kBuild2128, host::kRegSz, "atapi;x", {"FASTCDMP"}, {MessageResult::Yes},
     {NoAtapi}, "X", true},
    {"build 2128, answer no", kBuild2128, host::kRegSz, "atapi", {}, {MessageResult::No}, {NoAtapi}, "atapi", false},
    {"build 2072, piixide not examined", kBuild2072, host::kRegSz, "PIIXIDE", {"PIIXIDE"}, {}, {}, "PIIXIDE", false},
    {"build 2072, value of another type", kBuild2072, host::kRegMultiSz, "ATAPI", {}, {}, {}, "", false},
    {"build 2195", kBuild2195, host::kRegSz, "ATAPI", {"atapi", "FASTCDMP"}, {}, {}, "ATAPI", false},
    {"windows 98", kWin98, host::kRegSz, "ATAPI", {"atapi", "FASTCDMP"}, {}, {}, "ATAPI", false},
};

}  // namespace

TEST(AspiConfig, EveryRowOfTheDecision)
{
    AssignLanguageTexts(1);
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.what);
        host::Reset();
        host::SetOsVersion(row.os);
        if (row.type != kNoValue) {
            std::vector<uint8_t> data(row.before.begin(), row.before.end());
            data.push_back(0);
            host::SetRawValue(RegRoot::LocalMachine, kParameters, "ExcludeMiniports", row.type, data);
        }
        for (const std::string& miniport : row.loaded) platform::CreateKey(RegRoot::LocalMachine, std::string(kAdapters) + "\\" + miniport);
        for (MessageResult answer : row.answers) host::QueueAnswer(answer);
        const std::string registryBefore = host::RegistryText();

        EXPECT_EQ(CheckAspiConfiguration(), row.changed);

        const auto shown = host::TakeMessages();
        ASSERT_EQ(shown.size(), row.asked.size());
        for (size_t i = 0; i < shown.size(); ++i) {
            EXPECT_EQ(shown[i].kind, platform::MessageKind::Confirmation);
            EXPECT_EQ(shown[i].text, row.asked[i] == Virtual ? lg_ASPI_VIRTUAL_DRIVE : lg_ASPI_NO_ATAPI);
            EXPECT_EQ(shown[i].caption, "Kalmor");
        }
        const platform::RegKey key = platform::OpenKey(RegRoot::LocalMachine, kParameters);
        if (row.type == host::kRegSz) {
            EXPECT_EQ(key.readString("ExcludeMiniports").value_or("<missing>"), row.after);
        }
        // Nothing at all is written without a Yes.
        if (!row.changed) {
            EXPECT_EQ(host::RegistryText(), registryBefore);
        }
    }
    host::Reset();
}

TEST(AspiConfig, ReportedQueries)
{
    host::Reset();
    platform::CreateKey(RegRoot::LocalMachine, std::string(kAdapters) + "\\atapi");
    platform::CreateKey(RegRoot::LocalMachine, std::string(kAdapters) + "\\Aic78xx");
    EXPECT_EQ(LoadedMiniports(), "Aic78xx;atapi");
    EXPECT_TRUE(MiniportLoaded("AIC78"));
    EXPECT_FALSE(ExclusionListExists());
    EXPECT_EQ(ExclusionList(), "");

    const char* win9x = "System\\CurrentControlSet\\Services\\VxD\\APIX";
    host::SetRawValue(RegRoot::LocalMachine, win9x, "ExcludeMiniports", host::kRegDword, {1, 0, 0, 0});
    EXPECT_FALSE(Win9xExclusionListExists());
    host::SetRawValue(RegRoot::LocalMachine, win9x, "ExcludeMiniports", host::kRegSz, {'e', 's', 'd', 'i', 0});
    EXPECT_TRUE(Win9xExclusionListExists());
    EXPECT_EQ(Win9xExclusionList(), "esdi");
    host::Reset();
}
