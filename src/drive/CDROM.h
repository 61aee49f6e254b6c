#pragma once
// TCDROM: one CD-ROM or DVD-ROM drive, a TTarget identified against the drive database,
// with its command-set family, speeds, timers, TOC and sector reads. Unit CDROMTargets.
// The operations live in files by area: CDROM.cpp (identification, capacity),
// CDROMSpeed.cpp, CDROMTimers.cpp, CDROMZones.cpp, CDROMDetect.cpp, CDROMToc.cpp,
// CDROMRead.cpp, CDROMTeac.cpp.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "drive/DriveModels.h"
#include "drive/DriveTypes.h"
#include "drive/SpeedZoneInfo.h"
#include "transport/Target.h"

// Disc types by their tracks; only the low 7 bits are significant.
enum DiscType : uint8_t {
    dtData = 0,
    dtData2Sessions = 1,
    dtData3Sessions = 2,
    dtDataMultiSession = 3,
    dtAudio = 4,
    dtMixedMode = 5,
    dtCDExtra = 6,
    dtUnknown = 7,
};

// BlockMode values: the block size last set on the drive.
enum : uint8_t { kBlockAudio = 0, kBlockData = 1, kBlockRaw = 2, kBlockUnknown = 5 };

constexpr int kTocSize = 804;

class TCDROM : public TTarget {
public:
    // Runs INQUIRY and the identification; never throws for a target that is no CD-ROM
    // drive: the caller tests Exists and frees the object when it is false.
    TCDROM(uint8_t haId, uint8_t targetId, uint8_t lun, int32_t timeout = 0);
    ~TCDROM() override;

    // --- identification and capacity (CDROM.cpp)
    std::string FamilyName() const;
    std::string ModelName() const;
    // Last logical block address, or -1.
    int32_t ReadCapacity();
    // The 8 reply bytes as 16 upper-case hex digits, or "[ERROR]".
    std::string ReadCapacityText();

    // --- speeds (CDROMSpeed.cpp); KB/s values are -1 when unknown
    int32_t CurrentReadSpeed();
    int32_t CurrentWriteSpeed();
    int32_t MaxReadSpeed();
    // Cached in MaxSpeedCache; -1 when unknown.
    int32_t MaxSpeedFactor();
    void ForgetSpeedInfo();
    // SET CD SPEED with a raw KB/s read speed; the command's success.
    bool SendSetCDSpeed(int32_t kbps);
    // The family's speed command for factor 1..255; true when the drive took it.
    bool SetCDSpeed(int32_t factor);

    // --- current step and its zone texts (CDROMZones.cpp)
    // Nominal factor of the step the drive runs at (fills ZoneDescription and
    // DaeZoneDescription), or -1 when the speed cannot be read.
    int32_t CurrentSpeedStep();
    int32_t CurrentSpeedFactor() { return CurrentSpeedStep(); }

    // --- timers, Plextor features, report probes (CDROMTimers.cpp)
    int32_t GetInactivity(bool useDefaults);
    int32_t GetInactivityMask();
    bool SetInactivity(int32_t value);
    static std::string InactivityName(int32_t value);
    // Seconds, or -1.
    int32_t GetIdle(bool useDefaults);
    int32_t GetIdleLimit();
    bool SetIdle(int32_t seconds);
    int32_t GetStandby(bool useDefaults);
    int32_t GetStandbyLimit();
    bool SetStandby(int32_t seconds);
    bool PlextorIdleSupported();
    bool GetPlextorIdle(bool& on);
    bool SetPlextorIdle(bool on);
    bool PlextorSpeedModeSupported();
    bool GetPlextorSpeedMode(bool& on);
    bool SetPlextorSpeedMode(bool on);
    bool SpinUp();
    bool MechanismStatus(int32_t& state, int32_t& lba);
    bool RealTimeStreamingFeature();
    bool CdMasteringFeature(uint8_t descriptor[8]);
    bool PerformanceProbe();

    // --- speed tables and detection (CDROMDetect.cpp)
    bool DetectSpeedSteps(bool useBuiltIn, bool scanDown);
    bool LoadSpeedTable(const std::string& text);
    std::string SpeedTableText() const;
    void ClearSpeedTable();

    // --- TOC and disc classification (CDROMToc.cpp)
    bool ReadTOC();
    uint8_t FirstTrack();
    uint8_t LastTrack();
    bool IsAudioTrack(int32_t t);
    int32_t TrackStart(int32_t t);
    int32_t TrackEnd(int32_t t);
    bool IsISO9660Track(int32_t t);
    std::string GetVolumeLabel();
    DiscType GetDiscType();
    std::string DiscTypeText();
    static std::string DiscTypeText(DiscType type);
    std::string DiscIdentity(int32_t maxLen);
    bool IsXaDisc() const { return XaDisc; }

    // --- sector reading (CDROMRead.cpp); buffers must hold count sectors
    bool ReadCD(int type, uint32_t lba, uint32_t count, void* buffer, uint32_t bufSize);
    bool ReadAudio(uint32_t lba, uint32_t count, void* buffer, uint32_t bufSize);
    bool ReadData(uint32_t lba, uint32_t count, void* buffer, uint32_t bufSize);
    bool ReadRaw(uint32_t lba, uint32_t count, void* buffer, uint32_t bufSize);
    uint8_t SetBlockMode(uint8_t mode);
    void RestoreDataMode();
    static void ByteSwap(uint8_t* buffer, uint32_t length);
    static bool SyncCheck(const uint8_t* sector);

    // --- DAE speed limit in the EEPROM of five TEAC models (CDROMTeac.cpp)
    bool IsTeacEEPROMDrive() const;
    // Writes the limit nearest below the requested factor; the factor written (4, 10, 16 or
    // 32), or -1 for a drive that does not qualify, a request of 256 or more (nothing sent)
    // or a failed command. The drive takes the new limit at its next restart.
    int32_t WriteTeacEEPROM(uint32_t speed);

    // Fields, in the order the drive model keeps them.
    bool Exists = false;
    uint8_t Family = FamilyUnknown;
    uint8_t Model = 0;
    uint8_t NecAudioBit = 0;
    uint8_t BlockMode = kBlockUnknown;
    uint8_t TocData[kTocSize] = {};
    bool TOCvalid = false;
    std::string VolumeLabel;
    bool IsWriter = false;
    bool C2Supported = false;
    bool C2Pointers = false;
    bool CddaCommands = false;
    bool CddaStreamAccurate = false;
    int32_t BufferSizeKB = -1;
    int32_t NextLba = -1;
    std::string ZoneDescription;
    std::string DaeZoneDescription;
    int32_t MaxSpeedCache = -1;
    bool AcceptSlowTopStep = false;
    bool SpeedTableValid = false;
    std::unique_ptr<TSpeedZoneInfo> SpeedZones;
    bool XaDisc = false;
    std::atomic<int32_t> DetectionProgress{0};

protected:
    // Every drive operation starts with this: assertion "exists".
    void AssertExists() const;

private:
    int32_t ProbeMatshitaMaximum();
    void ScanDown(int32_t limit);
    void ScanUp(int32_t limit);
};
