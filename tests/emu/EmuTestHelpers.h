#pragma once
// Builds and sends SRBs the way a client of the ASPI manager does.
#include <algorithm>
#include <cstring>
#include <vector>

#include "emu/Emulator.h"
#include "transport/Aspi.h"

namespace emutest {

inline SRB_ExecSCSICmd ExecSrb(uint8_t ha, uint8_t target, std::vector<uint8_t> cdb, uint8_t flags,
                               uint8_t* buffer = nullptr, uint32_t length = 0)
{
    SRB_ExecSCSICmd srb;
    std::memset(&srb, 0, sizeof srb);
    srb.SRB_Cmd = SC_EXEC_SCSI_CMD;
    srb.SRB_HaId = ha;
    srb.SRB_Flags = flags;
    srb.SRB_Target = target;
    srb.SRB_BufLen = length;
    srb.SRB_BufPointer = buffer;
    srb.SRB_SenseLen = SENSE_LEN;
    srb.SRB_CDBLen = uint8_t(cdb.size());
    std::copy_n(cdb.begin(), std::min<size_t>(cdb.size(), sizeof srb.CDBByte), srb.CDBByte);
    return srb;
}

inline std::vector<uint8_t> Read10(uint32_t lba, uint16_t count)
{
    return {0x28, 0, uint8_t(lba >> 24), uint8_t(lba >> 16), uint8_t(lba >> 8), uint8_t(lba), 0,
            uint8_t(count >> 8), uint8_t(count), 0};
}

// Sends a command with data in and returns the bytes the buffer received.
struct DataIn {
    uint32_t status;
    SRB_ExecSCSICmd srb;
    std::vector<uint8_t> data;
};

inline DataIn SendIn(emu::Manager& manager, uint8_t target, std::vector<uint8_t> cdb, uint32_t length)
{
    DataIn result{};
    result.data.assign(length, 0xEE);
    result.srb = ExecSrb(0, target, std::move(cdb), SRB_DIR_IN, result.data.data(), length);
    result.status = manager.sendCommand(&result.srb);
    return result;
}

inline uint32_t SendOut(emu::Manager& manager, uint8_t target, std::vector<uint8_t> cdb, std::vector<uint8_t> data)
{
    auto srb = ExecSrb(0, target, std::move(cdb), SRB_DIR_OUT, data.data(), uint32_t(data.size()));
    return manager.sendCommand(&srb);
}

}  // namespace emutest
