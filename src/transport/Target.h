#pragma once
// One SCSI target (host adapter, target id, LUN) behind the ASPI manager. Every command of
// the program leaves through ExecSCSICmd. One thread at a time per target.
#include <atomic>
#include <cstdint>
#include <string>

#include "transport/Aspi.h"

class TModeParameterList;

enum class DataDirection : uint8_t { In = 0, Out = 1, None = 2 };

// Sense data of the last command (fixed format), read through one accessor.
struct SenseInfo {
    uint8_t responseCode = 0;  // byte 0 without the valid bit: 0x70 current, 0x71 deferred
    bool valid = false;        // bit 7 of byte 0
    uint8_t senseKey = 0;      // low nibble of byte 2
    uint8_t asc = 0;           // byte 12
    uint8_t ascq = 0;          // byte 13
};

// Statistics of how a target answers MODE SENSE; see TTarget::ModeSense.
struct ModeSenseCounters {
    int32_t sense10Ok = 0;
    int32_t sense10Failed = 0;
    int32_t valid = 0;
    int32_t invalid = 0;
    int32_t fixOk = 0;
    int32_t fixFailed = 0;
    int32_t conversionOk = 0;
    int32_t conversionFailed = 0;
    int32_t sense6Ok = 0;
    int32_t sense6Failed = 0;
};

class TTarget {
public:
    static constexpr uint32_t kDoubleBufferSize = 0x10000;
    static constexpr uint32_t kDefaultTimeout = 120000;

    // Never fails for an absent device: test Initialised() and destroy the object when false.
    // timeout in ms for commands that give none; 0 or less means 120000.
    TTarget(uint8_t haId, uint8_t targetId, uint8_t lun, int32_t timeout);
    virtual ~TTarget();
    TTarget(const TTarget&) = delete;
    TTarget& operator=(const TTarget&) = delete;

    // True when the SRB completed with SS_COMP. cdbLen 1..16; timeout 0 = default.
    // A misaligned data-in buffer longer than the double buffer is refused (false).
    bool ExecSCSICmd(const uint8_t* cdb, uint8_t cdbLen, void* buffer, uint32_t bufLen, DataDirection direction,
                     bool repeatOnUnitAttention, uint32_t timeout);

    bool Initialised() const { return initialised_; }
    uint8_t HaId() const;
    uint8_t TargetId() const;
    uint8_t Lun() const;
    uint8_t DeviceType() const;
    uint8_t AnsiVersion() const;
    std::string Vendor() const;
    std::string Product() const;
    std::string Revision() const;
    std::string VendorSpecific() const;
    std::string HostAdaptorName() const;
    std::string HostAdaptorInfo() const;

    // Of the last command, kept until the next one starts.
    uint8_t LastStatus() const;
    SenseInfo Sense() const;

    // Generic commands: default timeout, repeated once on unit attention.
    bool TestUnitReady();
    bool StartStopUnit(bool start, bool loadEject, bool immediate);
    bool PreventAllowMediumRemoval(bool prevent);
    // False without sending anything for an LBA of 2^21 or more.
    bool Read6(uint32_t lba, uint8_t blocks, void* buffer, uint32_t bufLen);
    bool Read10(uint32_t lba, uint16_t blocks, void* buffer, uint32_t bufLen);
    bool Read12(uint32_t lba, uint16_t blocks, void* buffer, uint32_t bufLen);

    // Mode pages. pageControl: 0 current, 1 changeable, 2 default, 3 saved.
    bool ModeSense(uint8_t pageCode, TModeParameterList& list, uint8_t pageControl);
    bool ModeSelect(TModeParameterList& list, bool currentOnly);
    // 0..255, or -1 when the page or byte cannot be read.
    int GetModeByte(uint8_t pageControl, uint8_t pageCode, int index);
    // The byte the drive reports after the write, or -1.
    int SetModeByte(bool currentOnly, uint8_t pageCode, int index, uint8_t value);
    // -1, or the byte masked with 2^bit.
    int GetModeBit(uint8_t pageControl, uint8_t pageCode, uint8_t bit, int index);
    bool SetModeBit(bool currentOnly, uint8_t pageCode, int index, uint8_t bit, bool value);
    // Hex bytes of one page (or pages 0..62 for 0x3F), each followed by separator; "--"
    // for unreadable bytes; prefix in front of a non-empty result.
    std::string ModePageDump(uint8_t pageCode, uint8_t pageControl, const std::string& prefix,
                             const std::string& separator);
    // "10ok/10failed - valid/invalid - fixok/fixfailed - convok/convfailed - 6ok/6failed"
    std::string SenseStatistics() const;
    const ModeSenseCounters& Counters() const;

protected:
    void AssertInitialised() const;
    uint8_t LunBits() const { return uint8_t(lun_ << 5); }

private:
    void Inquire();
    bool SendAttempts(bool repeatOnUnitAttention, uint32_t timeout);

    uint8_t haId_;
    uint8_t targetId_;
    uint8_t lun_;
    uint8_t deviceType_ = 0x1F;
    uint8_t ansiVersion_ = 0;
    char vendor_[9] = {};
    char product_[17] = {};
    char revision_[5] = {};
    std::string vendorSpecific_;
    bool initialised_ = false;
    uint32_t defaultTimeout_;
    std::atomic<bool> pending_{false};
    SRB_ExecSCSICmd srb_{};
    ModeSenseCounters counters_;
    uint8_t* doubleBuffer_ = nullptr;
    uint32_t doubleBufferOffset_ = 0;
};
