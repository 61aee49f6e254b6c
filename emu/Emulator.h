#pragma once
// The emulated ASPI manager: host adapters, devices behind target ids, the three SRB
// commands, completion (synchronous or by the SRB's event from another thread), and a
// log of every command. The same code runs natively (tests, tools) and as WNASPI32.DLL.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "transport/Aspi.h"

namespace emu {

enum class Direction : uint8_t { In, Out, None };

// One SCSI command as a device sees it.
struct Command {
    uint8_t lun = 0;
    std::vector<uint8_t> cdb;      // exactly the CDB length the SRB gave
    Direction direction = Direction::None;
    uint32_t length = 0;           // transfer length of the SRB
    std::vector<uint8_t> dataOut;  // the bytes sent, for Direction::Out
};

// A device's answer.
struct Reply {
    bool good = true;              // false: CHECK CONDITION with the sense below
    std::vector<uint8_t> data;     // data in; the manager copies at most the SRB length
    uint8_t senseKey = 0;
    uint8_t asc = 0;
    uint8_t ascq = 0;
    bool neverComplete = false;    // the SRB stays SS_PENDING and its event is never set
    uint32_t busyMs = 0;           // time the command takes (advances the native clock)

    static Reply Good(std::vector<uint8_t> data = {});
    static Reply Check(uint8_t key, uint8_t asc, uint8_t ascq = 0);
    static Reply IllegalRequest();  // invalid field in CDB
    static Reply InvalidOpcode();
};

// Anything behind a target id. Unit attention and the sense format are common to all.
class Device {
public:
    virtual ~Device() = default;
    virtual uint8_t peripheralType() const = 0;
    // Called for every command that is not answered by a pending unit attention.
    virtual Reply execute(const Command& command) = 0;

    // The next command (of any kind) fails once with UNIT ATTENTION (sense key 6).
    void raiseUnitAttention() { unitAttention_ = true; }
    bool unitAttentionPending() const { return unitAttention_; }
    // Byte 0 of the fixed-format sense data: 0x70, or 0xF0 with the valid bit.
    void setSenseResponseCode(uint8_t code) { senseResponseCode_ = code; }
    uint8_t senseResponseCode() const { return senseResponseCode_; }
    // Every command from now on never completes (a hung device).
    void setHung(bool hung) { hung_ = hung; }
    // Switched off and on: the next command gets UNIT ATTENTION (power on); devices drop
    // what they keep only while powered.
    virtual void powerCycle() { raiseUnitAttention(); }

    Reply handle(const Command& command);

private:
    // Tests raise faults while another thread may be running a command.
    std::atomic<bool> unitAttention_ = false;
    std::atomic<bool> hung_ = false;
    uint8_t senseResponseCode_ = 0x70;
};

struct HostAdapter {
    uint8_t scsiId = 7;
    std::array<uint8_t, 16> identifier{};  // HA_Identifier as sent
    std::array<uint8_t, 16> managerId{};   // HA_ManagerId as sent
    std::array<uint8_t, 16> unique{};      // HA_Unique as sent
    uint8_t maxTargets = 8;                // target ids that can answer
    bool inquiryFails = false;             // SC_HA_INQUIRY answers an error status
};

struct LogEntry {
    uint8_t haId = 0, target = 0, lun = 0;
    std::vector<uint8_t> srb;  // the whole execute SRB as submitted (before completion)
    std::vector<uint8_t> cdb;
    Direction direction = Direction::None;
    uint32_t length = 0;
    std::vector<uint8_t> dataOut;
    uint8_t status = 0;        // SRB status after completion (0 when it never completed)
    std::vector<uint8_t> sense;
};

enum class Completion { Synchronous, ByEventFromThread };

class Manager {
public:
    Manager();
    ~Manager();

    // Host adapter number = order of adding. More than 8 may be added.
    HostAdapter& addHostAdapter(const std::string& identifier, uint8_t scsiId = 7);
    HostAdapter& hostAdapter(uint8_t ha);
    size_t hostAdapterCount() const;
    void attach(uint8_t ha, uint8_t target, uint8_t lun, std::shared_ptr<Device> device);
    std::shared_ptr<Device> device(uint8_t ha, uint8_t target, uint8_t lun) const;

    // Forces GetASPI32SupportInfo's whole 32-bit answer (a failed manager, say).
    void setSupportInfoOverride(uint32_t value);
    void setCompletion(Completion completion);

    // The two ASPI entry points.
    uint32_t getSupportInfo();
    uint32_t sendCommand(void* srb);

    // Every execute SRB in the order of submission; the sense is the device's whole
    // fixed-format sense data, however much of it the SRB had room for.
    std::vector<LogEntry> log() const;
    void clearLog();
    // Removes the completed entries from the log and returns them; commands still running stay.
    std::vector<LogEntry> takeCompletedLog();
    // SRBs of any kind received so far (the log holds only execute SRBs).
    size_t srbCount() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The manager the native binding and the DLL's entry points serve.
void SetCurrent(std::shared_ptr<Manager> manager);
std::shared_ptr<Manager> Current();

// The six entry points of an ASPI manager, serving Current(). Without a current manager
// GetASPI32SupportInfo answers SS_FAILED_INIT << 8 and every SRB fails with SS_FAILED_INIT.
uint32_t ASPI_CDECL SendASPI32Command(void* srb);
uint32_t ASPI_CDECL GetASPI32SupportInfo();
uint32_t ASPI_CDECL GetASPI32DLLVersion();
// ASPI32BUFF records: buffer pointer, length, zero-fill flag, reserved. 1 on success, 0 on failure.
int ASPI_CDECL GetASPI32Buffer(void* buffer);
int ASPI_CDECL FreeASPI32Buffer(void* buffer);
// Windows 95 device nodes do not exist here: always 0 (not supported).
int ASPI_CDECL TranslateASPI32Address(uint32_t* path, uint32_t* devNode);

// Registers the emulator as "C:\windows\system32\WNASPI32.DLL" in the native module
// table, so that the real LoadASPI32 finds it; Uninstall removes it again. Native build only.
void InstallNative(std::shared_ptr<Manager> manager);
void UninstallNative();

}  // namespace emu
