#pragma once
// What the tests of the two built-in managers share: a scripted device node on the platform's
// device seam, and a READ CAPACITY for the drive of adapter 0 sent through the bound manager.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/Event.h"
#include "platform/host/HostDeviceIo.h"
#include "transport/Aspi.h"
#include "transport/AspiManager.h"
#include "transport/ScsiCodes.h"

// Node answers Control(code, in, inSize, out, returned, error) as the device would.
template <class Node>
std::shared_ptr<Node> AddDeviceNode(const std::string& path, uint32_t openError = 0)
{
    auto node = std::make_shared<Node>();
    platform::host::AddDevice(path, {openError, [node](uint32_t code, void* in, uint32_t inSize, void* out, uint32_t,
                                                       uint32_t& returned, uint32_t& error) {
                                         return node->Control(code, in, inSize, out, returned, error);
                                     }});
    return node;
}

// The SRB as it completed; its event is set by the time the call returns.
inline SRB_ExecSCSICmd ExecuteReadCapacity(uint8_t* buffer, uint32_t timeoutMs, uint8_t direction, uint32_t length)
{
    platform::Event completion(false, false);
    SRB_ExecSCSICmd srb{};
    srb.SRB_Cmd = SC_EXEC_SCSI_CMD;
    srb.SRB_Flags = SRB_EVENT_NOTIFY | direction;
    srb.SRB_BufLen = length;
    srb.SRB_BufPointer = buffer;
    srb.SRB_SenseLen = SENSE_LEN;
    srb.SRB_CDBLen = 10;
    srb.CDBByte[0] = kReadCapacity;
    srb.SRB_PostProc = completion.handle();
    EXPECT_EQ(ASPISendCommand(&srb, timeoutMs), srb.SRB_Status);
    EXPECT_TRUE(completion.wait(0));
    return srb;
}
