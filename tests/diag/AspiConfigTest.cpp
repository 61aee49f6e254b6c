// The ASPI configuration check: which Windows is examined, which question comes when, and the
// ExcludeMiniports value after each answer; nothing is written without a Yes.
#include <gtest/gtest.h>

#include <algorithm>

#include "diag/AspiConfig.h"
#include "platform/Registry.h"
#include "platform/host/Host.h"
#include "platform/host/HostRegistry.h"
#include "platform/host/HostSystemInfo.h"
#include "settings/Language.h"

using platform::MessageResult;
namespace host = platform::host;

namespace {

constexpr MessageResult Y = MessageResult::Yes;
constexpr MessageResult N = MessageResult::No;
const platform::OsVersionRecord kNt4{4, 0, 1381, "Service Pack 6"}, k2072{5, 0, 2072, ""}, k2128{5, 0, 2128, " RC2"},
    k2195{5, 0, 2195, "Service Pack 4"}, kWin98{4, 10, 2222, " A"};

struct Row {
    platform::OsVersionRecord os;
    uint32_t type;  // of the value; kRegNone: no value
    std::string before;
    std::vector<std::string> loaded;
    std::vector<MessageResult> answers;
    std::string asked;  // V: virtual-drive question, A: ATAPI question
    std::string after;
};

const Row kRows[] = {
    {kNt4, host::kRegSz, "", {"FASTCDMP"}, {Y}, "V", "FASTCDMP"},
    {kNt4, host::kRegSz, "", {"FastCdMp"}, {N}, "V", ""},
    {kNt4, host::kRegSz, "abc", {"fastcdmp"}, {Y}, "V", "ABC;FASTCDMP"},
    {kNt4, host::kRegSz, "x;fastcdmp", {"FASTCDMP"}, {}, "", "x;fastcdmp"},
    {kNt4, host::kRegSz, "", {"aic78xx"}, {}, "", ""},
    {kNt4, host::kRegSz, "atapi;Sym", {"atapi"}, {Y}, "A", "SYM"},
    {kNt4, host::kRegSz, "Sym;ATAPI", {"Atapi"}, {Y}, "A", "SYM"},
    {kNt4, host::kRegSz, "ATAPI", {"atapi"}, {Y}, "A", ""},
    {kNt4, host::kRegSz, "a;atapi;b", {"atapi"}, {Y}, "A", "A;B"},
    {kNt4, host::kRegSz, "ATAPI", {"aic78xx"}, {}, "", "ATAPI"},
    {kNt4, host::kRegSz, "aic78xx", {"atapi"}, {}, "", "aic78xx"},
    {kNt4, host::kRegSz, "piixide;atapi", {"atapi", "FASTCDMP", "PIIXIDE"}, {Y, Y, Y}, "VAA", "FASTCDMP"},
    {kNt4, host::kRegSz, "piixide;atapi", {"atapi", "FASTCDMP", "PIIXIDE"}, {N, N, N}, "VAA", "piixide;atapi"},
    {kNt4, host::kRegNone, "", {"atapi", "FASTCDMP"}, {}, "", ""},
    {kNt4, host::kRegExpandSz, "ATAPI", {"atapi", "FASTCDMP"}, {}, "", ""},
    {k2072, host::kRegSz, "ATAPI", {}, {Y}, "A", ""},
    {k2128, host::kRegSz, "atapi;x", {"FASTCDMP"}, {Y}, "A", "X"},
    {k2072, host::kRegSz, "PIIXIDE", {"PIIXIDE"}, {}, "", "PIIXIDE"},
    {k2195, host::kRegSz, "ATAPI", {"atapi", "FASTCDMP"}, {}, "", "ATAPI"},
    {kWin98, host::kRegSz, "ATAPI", {"atapi", "FASTCDMP"}, {}, "", "ATAPI"},
};

}  // namespace

TEST(AspiConfig, EveryRowOfTheDecision)
{
    AssignLanguageTexts(1);
    int n = 0;
    for (const Row& row : kRows) {
        SCOPED_TRACE("row " + std::to_string(n++));
        host::Reset();
        host::SetOsVersion(row.os);
        std::vector<uint8_t> data(row.before.begin(), row.before.end());
        data.push_back(0);
        if (row.type != host::kRegNone)
            host::SetRawValue(platform::RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Aspi32\\Parameters",
                              "ExcludeMiniports", row.type, data);
        for (const std::string& m : row.loaded)
            platform::CreateKey(platform::RegRoot::LocalMachine, "HARDWARE\\RESOURCEMAP\\ScsiAdapter\\" + m);
        for (MessageResult answer : row.answers) host::QueueAnswer(answer);
        const std::string registryBefore = host::RegistryText();
        const bool yes = std::find(row.answers.begin(), row.answers.end(), Y) != row.answers.end();

        EXPECT_EQ(CheckAspiConfiguration(), yes);
        std::string asked;
        for (const auto& shown : host::TakeMessages()) {
            asked += shown.text == lg_ASPI_VIRTUAL_DRIVE ? "V" : shown.text == lg_ASPI_NO_ATAPI ? "A" : "?";
            EXPECT_EQ(std::tuple(shown.kind, shown.caption), std::tuple(platform::MessageKind::Confirmation, std::string("Kalmor")));
        }
        EXPECT_EQ(asked, row.asked);
        if (row.type == host::kRegSz) { EXPECT_EQ(ExclusionList(), row.after); }
        if (!yes) { EXPECT_EQ(host::RegistryText(), registryBefore); }
    }
    host::Reset();
}
