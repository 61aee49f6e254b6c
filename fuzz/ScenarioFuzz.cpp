// The emulator's scenario loader, and the emulated system a loaded scenario builds: any text
// gives a manager or an error naming the file, never an end of the host, and the manager
// then answers the SRBs a program sends.
#include <cstring>
#include <string>
#include <vector>

#include "emu/Scenario.h"
#include "fuzz/FuzzRun.h"
#include "platform/host/Host.h"
#include "transport/ScsiCodes.h"

namespace {

constexpr uint32_t kBufferSize = 4096;
constexpr uint8_t kMaxTargets = 16;

// INQUIRY, TEST UNIT READY, READ CAPACITY, MODE SENSE(10) and (6) of every page, READ TOC
// formats 0 and 2, READ(10) of block 16, READ CD of block 0, GET CONFIGURATION, MECHANISM
// STATUS, SET CD SPEED to 4x.
const std::vector<std::vector<uint8_t>> kCommands = {
    {kInquiry, 0, 0, 0, 96, 0},
    {kTestUnitReady, 0, 0, 0, 0, 0},
    {kReadCapacity, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {kModeSense10, 0, 0x3F, 0, 0, 0, 0, 0x10, 0, 0},
    {kModeSense6, 0, 0x3F, 0, 0xFF, 0},
    {kReadToc, 0, 0, 0, 0, 0, 0, 0x03, 0x24, 0},
    {kReadToc, 0, 2, 0, 0, 0, 0, 0x10, 0, 0},
    {kRead10, 0, 0, 0, 0, 16, 0, 0, 1, 0},
    {kReadCd, 0, 0, 0, 0, 0, 0, 0, 1, 0xF8, 0, 0},
    {kGetConfiguration, 0, 0, 0, 0, 0, 0, 0x10, 0, 0},
    {kMechanismStatus, 0, 0, 0, 0, 0, 0, 0, 0, 0x20, 0, 0},
    {kSetCdSpeed, 0, 0x02, 0xC2, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0},
};

void Exercise(emu::Manager& manager)
{
    manager.setCompletion(emu::Completion::Synchronous);
    const uint32_t info = manager.getSupportInfo();
    const uint8_t adapters = (info >> 8 & 0xFF) == SS_COMP ? uint8_t(info) : 0;
    std::vector<uint8_t> buffer(kBufferSize);
    for (uint8_t ha = 0; ha < adapters; ++ha) {
        SRB_HAInquiry inquiry{};
        inquiry.SRB_Cmd = SC_HA_INQUIRY;
        inquiry.SRB_HaId = ha;
        manager.sendCommand(&inquiry);
        for (uint8_t target = 0; target < kMaxTargets; ++target) {
            SRB_GDEVBlock type{};
            type.SRB_Cmd = SC_GET_DEV_TYPE;
            type.SRB_HaId = ha;
            type.SRB_Target = target;
            if (manager.sendCommand(&type) != SS_COMP) continue;
            for (const auto& cdb : kCommands) {
                SRB_ExecSCSICmd srb{};
                srb.SRB_Cmd = SC_EXEC_SCSI_CMD;
                srb.SRB_HaId = ha;
                srb.SRB_Target = target;
                srb.SRB_Flags = SRB_DIR_IN;
                srb.SRB_BufLen = kBufferSize;
                srb.SRB_BufPointer = buffer.data();
                srb.SRB_SenseLen = SENSE_LEN;
                srb.SRB_CDBLen = uint8_t(cdb.size());
                std::memcpy(srb.CDBByte, cdb.data(), cdb.size());
                manager.sendCommand(&srb);
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    platform::host::Reset();
    const emu::ScenarioResult result =
        emu::ParseScenario(std::string(reinterpret_cast<const char*>(data), size), "fuzz.json");
    if (!result.manager == result.error.empty()) fuzz::Finding("a scenario needs a manager or an error, not both");
    if (!result.manager) {
        if (result.error.rfind("fuzz.json: ", 0) != 0) fuzz::Finding("the error does not name the file: " + result.error);
        return 0;
    }
    Exercise(*result.manager);
    return 0;
}
