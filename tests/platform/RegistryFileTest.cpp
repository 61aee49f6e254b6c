// The native registry alone: REGEDIT4 text, strict loading, atomic saving, raw values.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/Registry.h"
#include "platform/host/HostRegistry.h"

using namespace platform;
using namespace platform::host;
namespace fs = std::filesystem;

namespace {

const RegRoot kUser = RegRoot::CurrentUser;
const RegRoot kMachine = RegRoot::LocalMachine;

std::string ReadFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

class RegistryFile : public testing::Test {
protected:
    void SetUp() override
    {
        ClearRegistry();
        char pattern[] = "/tmp/kalmor-registry-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override
    {
        ClearRegistry();
        fs::remove_all(folder);
    }
    std::vector<std::string> FolderEntries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path folder;
};

}  // namespace

TEST_F(RegistryFile, SavedTextIsRegedit4WithEscapesAndCrLf)
{
    RegKey key = CreateKey(kUser, "Kalmor");
    ASSERT_TRUE(key.writeString("", "C:\\\"K\"\nzwei"));
    ASSERT_TRUE(key.writeInteger("TabIndex", -1));
    ASSERT_TRUE(key.writeBinary("0", {0x01, 0xAB, 0x00}));
    ASSERT_TRUE(CreateKey(kMachine, "SOFTWARE").writeString("Grüße", "€"));
    EXPECT_EQ(RegistryText(), "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\"Grüße\"=\"€\"\r\n\r\n"
                              "[HKEY_CURRENT_USER\\Kalmor]\r\n@=\"C:\\\\\\\"K\\\"\\nzwei\"\r\n"
                              "\"TabIndex\"=dword:ffffffff\r\n\"0\"=hex:01,ab,00\r\n\r\n");
}

TEST_F(RegistryFile, RoundTripKeepsEveryTypeAndEmptyKeys)
{
    RegKey key = CreateKey(kUser, "Software\\Test\\\"Audio-CD\" [1998] 'x'");
    ASSERT_TRUE(key.writeString("Quote\"Back\\slash", "ä\\\"\n"));
    ASSERT_TRUE(key.writeInteger("Min", INT32_MIN));
    std::vector<uint8_t> blob(300);
    for (size_t i = 0; i < blob.size(); ++i) blob[i] = uint8_t(i);
    ASSERT_TRUE(key.writeBinary("Blob", blob));
    ASSERT_TRUE(key.writeBinary("NoBytes", {}));
    ASSERT_TRUE(CreateKey(kMachine, "Empty\\Deeper").isOpen());
    ASSERT_TRUE(SetRawValue(kUser, "Raw", "Unterminated", kRegSz, {'a', 'b'}));
    ASSERT_TRUE(SetRawValue(kUser, "Raw", "TwoBytes", kRegDword, {1, 2}));
    ASSERT_TRUE(SetRawValue(kUser, "Raw", "Multi", kRegMultiSz, {'a', 0, 'b', 0, 0}));

    const std::string text = RegistryText();
    ClearRegistry();
    const RegistryLoadResult loaded = LoadRegistryText(text);
    ASSERT_TRUE(loaded.ok) << loaded.line << ": " << loaded.error;
    EXPECT_EQ(RegistryText(), text);

    RegKey back = OpenKey(kUser, "Software\\Test\\\"Audio-CD\" [1998] 'x'");
    EXPECT_EQ(std::tuple(back.readString("quote\"back\\SLASH"), back.readInteger("Min"), back.readBinary("Blob"), back.readBinary("NoBytes")),
              std::tuple(std::optional<std::string>("ä\\\"\n"), std::optional<int32_t>(INT32_MIN), std::optional(blob),
                         std::optional(std::vector<uint8_t>())));
    EXPECT_TRUE(KeyExists(kMachine, "Empty\\Deeper"));
    RegKey raw = OpenKey(kUser, "Raw");
    EXPECT_EQ(std::tuple(raw.readString("Unterminated"), raw.readInteger("TwoBytes"), raw.valueType("Multi")),
              std::tuple(std::optional<std::string>("ab"), std::optional<int32_t>(), RegType::Other));
}

TEST_F(RegistryFile, LoadMergesAndAcceptsLfCommentsAndContinuedHexLists)
{
    ASSERT_TRUE(CreateKey(kUser, "Keep").writeInteger("Old", 1));
    ASSERT_TRUE(CreateKey(kUser, "Merge").writeInteger("Speed", 1));
    const RegistryLoadResult loaded = LoadRegistryText(
        "REGEDIT4\n\n; a comment\n[HKEY_CURRENT_USER\\Merge]\n\"Speed\"=dword:10\n\"Bytes\"=hex:01,02,\\\n  03,04\n\n");
    ASSERT_TRUE(loaded.ok) << loaded.line << ": " << loaded.error;
    EXPECT_EQ(std::tuple(OpenKey(kUser, "Merge").readInteger("Speed"), OpenKey(kUser, "Keep").readInteger("Old")), std::tuple(16, 1));
    EXPECT_EQ(OpenKey(kUser, "Merge").readBinary("Bytes"), (std::vector<uint8_t>{1, 2, 3, 4}));
}

TEST_F(RegistryFile, MalformedFilesAreRejectedWholeWithTheirLineNumber)
{
    ASSERT_TRUE(CreateKey(kUser, "Before").writeString("Value", "unchanged"));
    const std::string before = RegistryText();
    const std::string good = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Partial]\r\n\"Speed\"=dword:00000008\r\n";
    const std::pair<std::string, int> cases[] = {
        {"", 1},
        {"Windows Registry Editor Version 5.00\r\n", 1},
        {good + "garbage\r\n", 5},
        {good + "\"Name\"=\"bad \\q escape\"\r\n", 5},
        {good + "\"Name\"=hex:01,\\\r\n", 5},
        {good + "\"Name\"=dword:123456789\r\n", 5},
        {good + "[HKEY_CLASSES_ROOT\\x]\r\n", 5},
        {good + "[-HKEY_CURRENT_USER\\Before]\r\n", 5},
        {good + "\r\n\"Name\"=\"cut off", 6},
        {"REGEDIT4\r\n\r\n\"Name\"=\"before any key\"\r\n", 3},
    };
    for (const auto& [text, line] : cases) {
        const RegistryLoadResult result = LoadRegistryText(text);
        EXPECT_FALSE(result.ok || result.error.empty()) << text;
        EXPECT_EQ(result.line, line) << text;
        EXPECT_EQ(RegistryText(), before) << "nothing may be loaded from: " << text;
    }
}

TEST_F(RegistryFile, SaveReplacesTheFileAtomicallyOrLeavesTheOldOne)
{
    const fs::path target = folder / "registry.reg";
    ASSERT_TRUE(CreateKey(kUser, "Software\\A").writeInteger("Speed", 1));
    ASSERT_TRUE(SaveRegistryFile(target.string()));
    ASSERT_TRUE(CreateKey(kUser, "Software\\B").writeInteger("Speed", 2));
    ASSERT_TRUE(SaveRegistryFile(target.string()));
    const std::string saved = ReadFile(target);
    EXPECT_EQ(saved, RegistryText());
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"registry.reg"});
    ClearRegistry();
    const RegistryLoadResult loaded = LoadRegistryFile(target.string());
    ASSERT_TRUE(loaded.ok) << loaded.line << ": " << loaded.error;
    EXPECT_EQ(OpenKey(kUser, "Software\\B").readInteger("Speed"), 2);
    const RegistryLoadResult missing = LoadRegistryFile((folder / "none.reg").string());
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("none.reg"), std::string::npos);

    // The disk fills up halfway through the new file.
    ASSERT_TRUE(CreateKey(kUser, "Software\\A").writeBinary("Blob", std::vector<uint8_t>(65536, 0x5A)));
    rlimit original{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &original), 0);
    rlimit small = original;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saveResult = SaveRegistryFile(target.string());
    ::setrlimit(RLIMIT_FSIZE, &original);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saveResult);
    EXPECT_EQ(ReadFile(target), saved);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"registry.reg"});

    // The rename fails: a folder stands where the file should go.
    fs::create_directory(folder / "taken");
    EXPECT_FALSE(SaveRegistryFile((folder / "taken").string()));
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"registry.reg", "taken"}));
    EXPECT_FALSE(SaveRegistryFile((folder / "missing" / "registry.reg").string()));
}

TEST_F(RegistryFile, ReadsWhatWineRegeditExports)
{
    const fs::path fixture = fs::path(__FILE__).parent_path() / "RegistryWineExport.reg";
    const RegistryLoadResult loaded = LoadRegistryFile(fixture.string());
    ASSERT_TRUE(loaded.ok) << loaded.line << ": " << loaded.error;

    RegKey key = OpenKey(kUser, "Software\\KalmorRegistryTest");
    ASSERT_TRUE(key.isOpen());
    EXPECT_EQ(std::vector<std::optional<std::string>>({"default text", "Köln – 5 €", "C:\\Programme\\Kalmor\\kalmor.exe /StartUp", "one\ntwo"}),
              std::vector<std::optional<std::string>>({key.readString(""), key.readString("Gruß"), key.readString("Run \"quoted\""), key.readString("Lines")}));
    EXPECT_EQ(key.readInteger("TabIndex"), -1);
    std::vector<uint8_t> blob(100);
    for (size_t i = 0; i < blob.size(); ++i) blob[i] = uint8_t(i * 3);
    EXPECT_EQ(key.readBinary("Blob"), blob);
    EXPECT_EQ(key.valueType("Path"), RegType::Other);
    EXPECT_EQ(key.subkeyNames(), (std::vector<std::string>{"Empty", "HA1_ID0"}));
    EXPECT_EQ(OpenKey(kUser, "Software\\KalmorRegistryTest\\HA1_ID0").subkeyNames().front(),
              "\"Audio-CD\" 14 Tracks 63:12 \"Best Of\" 'Live' [1998] {Disc 1/2} #*?<>| 0123456789abcdef");
}
