#pragma once
// A device whose answers each test scripts by opcode, and a fixture with one adapter
// (4-byte alignment, 8 targets) and that device at target 1.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/AspiFixture.h"
#include "transport/Aspi.h"
#include "transport/ScsiCodes.h"
#include "transport/Target.h"

// Standard INQUIRY answer with the given additional length and vendor-specific bytes.
inline std::vector<uint8_t> InquiryBytes(uint8_t additionalLength = 91, const std::string& vendorSpecific = "")
{
    std::vector<uint8_t> data(96, 0);
    data[0] = 0x05;
    data[1] = 0x80;
    data[2] = 0x02;
    data[4] = additionalLength;
    std::memcpy(&data[8], "KALMORVN", 8);
    std::memcpy(&data[16], "TEST DRIVE 52X  ", 16);
    std::memcpy(&data[32], "1.0a", 4);
    std::memcpy(&data[36], vendorSpecific.data(), std::min<size_t>(vendorSpecific.size(), 20));
    data.resize(size_t(additionalLength) + 5);
    return data;
}

class ScriptedDevice : public emu::Device {
public:
    using Handler = std::function<emu::Reply(const emu::Command&)>;

    uint8_t peripheralType() const override { return type; }
    emu::Reply execute(const emu::Command& command) override
    {
        auto it = handlers.find(command.cdb[0]);
        if (it != handlers.end()) return it->second(command);
        return command.cdb[0] == kInquiry ? emu::Reply::Good(inquiry) : emu::Reply::Good();
    }
    void on(uint8_t opcode, Handler handler) { handlers[opcode] = std::move(handler); }

    uint8_t type = 5;
    std::vector<uint8_t> inquiry = InquiryBytes();
    std::map<uint8_t, Handler> handlers;
};

class TargetTest : public AspiFixture {
protected:
    void BuildSystem(emu::Manager& manager) override
    {
        manager.addHostAdapter("EMU_HA").unique = UniqueBlock(3, true, 8, 0x20000);
        manager.attach(0, 1, 0, device_);
    }

    std::unique_ptr<TTarget> Open(uint8_t targetId = 1, uint8_t lun = 0, int32_t timeout = 0)
    {
        return std::make_unique<TTarget>(0, targetId, lun, timeout);
    }

    // The target as most tests use it: created, its INQUIRY dropped from the log.
    std::unique_ptr<TTarget> OpenClean()
    {
        auto target = Open();
        manager_->clearLog();
        return target;
    }

    emu::LogEntry LastLog() const
    {
        const auto log = manager_->log();
        return log.empty() ? emu::LogEntry() : log.back();
    }

    std::shared_ptr<ScriptedDevice> device_ = std::make_shared<ScriptedDevice>();
};

// The data buffer address an execute SRB carried when it was submitted.
inline uintptr_t SrbBuffer(const emu::LogEntry& entry)
{
    uint8_t* pointer = nullptr;
    std::memcpy(&pointer, &entry.srb[offsetof(SRB_ExecSCSICmd, SRB_BufPointer)], sizeof(pointer));
    return reinterpret_cast<uintptr_t>(pointer);
}

inline std::vector<uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<uint8_t> bytes;
    for (int v : values) bytes.push_back(uint8_t(v));
    return bytes;
}
