#include "fuzz/FuzzRun.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "emu/Scenario.h"
#include "platform/host/Host.h"

namespace fuzz {

namespace {

constexpr uint16_t kNoAlignment = 0;
constexpr uint16_t kPageAlignment = 0xFF;

std::string Hex(const std::vector<uint8_t>& bytes)
{
    std::string text;
    char pair[4];
    for (uint8_t b : bytes) {
        std::snprintf(pair, sizeof(pair), "%02X ", b);
        text += pair;
    }
    return text;
}

bool SameCommand(const Transfer& a, const Transfer& b)
{
    return a.cdb == b.cdb && a.direction == b.direction && a.length == b.length && a.dataOut == b.dataOut;
}

// The index of the first command in which the runs differ; the shorter size when one run
// sent what the other did and then more.
size_t FirstDifference(const std::vector<Transfer>& a, const std::vector<Transfer>& b)
{
    size_t i = 0;
    while (i < a.size() && i < b.size() && SameCommand(a[i], b[i])) ++i;
    return i;
}

// A few commands before the first difference and the one after.
std::string Describe(const std::vector<Transfer>& log, size_t difference)
{
    std::string text;
    for (size_t i = difference > 8 ? difference - 8 : 0; i <= difference && i < log.size(); ++i) {
        const Transfer& t = log[i];
        text += "  #" + std::to_string(i) + " " + Hex(t.cdb) + "len " + std::to_string(t.length) + " dir " +
                std::to_string(int(t.direction));
        if (!t.dataOut.empty()) text += " out " + Hex(t.dataOut);
        text += "\n";
    }
    return text + "  (" + std::to_string(log.size()) + " commands)\n";
}

emu::Device* FirstCdrom(emu::Manager& manager)
{
    for (size_t ha = 0; ha < manager.hostAdapterCount(); ++ha) {
        for (uint8_t target = 0; target < 16; ++target) {
            auto device = manager.device(uint8_t(ha), target, 0);
            if (device && device->peripheralType() == 5) return device.get();
        }
    }
    return nullptr;
}

}  // namespace

void Finding(const std::string& what)
{
    std::fprintf(stderr, "\n==== fuzz oracle: %s\n", what.c_str());
    std::abort();
}

RunResult RunOnce(Conversation& conversation, uint16_t alignMask, const DriveBody& body)
{
    platform::host::Reset();
    RunResult run{"no ASPI", {}};
    try {
        if (InstallManager(conversation, alignMask)) run.seen = body(conversation);
    } catch (const RunEnds&) {
        run.seen = "run ended by the manager";
    }
    run.commands = UninstallManager();
    return run;
}

void RunDifferential(const uint8_t* data, size_t size, const DriveBody& body)
{
    InputConversation directInput(data, size);
    const RunResult direct = RunOnce(directInput, kNoAlignment, body);
    InputConversation bufferedInput(data, size);
    const RunResult buffered = RunOnce(bufferedInput, kPageAlignment, body);
    const size_t difference = FirstDifference(direct.commands, buffered.commands);
    if (direct.seen != buffered.seen || difference != direct.commands.size() ||
        difference != buffered.commands.size()) {
        Finding("the double buffer changed what the program saw\nwithout alignment:\n" +
                Describe(direct.commands, difference) + "  => " + direct.seen + "\nwith 256-byte alignment:\n" +
                Describe(buffered.commands, difference) + "  => " + buffered.seen);
    }
}

void RecordSeedsIfAsked(const DriveBody& body, const std::vector<uint8_t>& plan, const std::vector<uint8_t>& prefix)
{
    const char* folder = std::getenv("KALMOR_FUZZ_RECORD");
    const char* scenarios = std::getenv("KALMOR_FUZZ_SCENARIOS");
    if (!folder || !scenarios) return;
    std::istringstream files(scenarios);
    std::string file;
    while (files >> file) {
        const emu::ScenarioResult scenario = emu::LoadScenario(file);
        emu::Device* drive = scenario.manager ? FirstCdrom(*scenario.manager) : nullptr;
        if (!drive) {
            std::fprintf(stderr, "%s: no CD-ROM drive %s\n", file.c_str(), scenario.error.c_str());
            std::exit(1);
        }
        RecordingConversation recording(*drive, plan);
        RunOnce(recording, kNoAlignment, body);
        std::vector<uint8_t> input = prefix;
        input.insert(input.end(), recording.recorded().begin(), recording.recorded().end());
        const auto seed = std::filesystem::path(folder) / std::filesystem::path(file).stem();
        std::ofstream(seed, std::ios::binary).write(reinterpret_cast<const char*>(input.data()), std::streamsize(input.size()));
        std::printf("%s: %zu bytes\n", seed.c_str(), input.size());
    }
    std::exit(0);
}

}  // namespace fuzz
