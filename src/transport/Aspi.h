#pragma once
// The published 32-bit ASPI request records and status codes, shared by the transport
// and the emulated ASPI manager. The native 64-bit build uses the same records with
// pointer-sized fields.
#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define ASPI_CDECL __cdecl
#else
#define ASPI_CDECL
#endif

// SRB command codes.
constexpr uint8_t SC_HA_INQUIRY = 0x00;
constexpr uint8_t SC_GET_DEV_TYPE = 0x01;
constexpr uint8_t SC_EXEC_SCSI_CMD = 0x02;

// SRB and support-info status codes.
constexpr uint8_t SS_PENDING = 0x00;
constexpr uint8_t SS_COMP = 0x01;
constexpr uint8_t SS_ABORTED = 0x02;
constexpr uint8_t SS_ERR = 0x04;
constexpr uint8_t SS_INVALID_CMD = 0x80;
constexpr uint8_t SS_INVALID_HA = 0x81;
constexpr uint8_t SS_NO_DEVICE = 0x82;
constexpr uint8_t SS_INVALID_SRB = 0xE0;
constexpr uint8_t SS_SECURITY_VIOLATION = 0xE2;
constexpr uint8_t SS_NO_ASPI = 0xE3;
constexpr uint8_t SS_FAILED_INIT = 0xE4;
constexpr uint8_t SS_ASPI_IS_BUSY = 0xE5;
constexpr uint8_t SS_MISMATCHED_COMPONENTS = 0xE7;
constexpr uint8_t SS_NO_ADAPTERS = 0xE8;
constexpr uint8_t SS_INSUFFICIENT_RESOURCES = 0xE9;
constexpr uint8_t SS_ASPI_IS_SHUTDOWN = 0xEA;
constexpr uint8_t SS_BAD_INSTALL = 0xEB;

// Host adapter status of an execute SRB.
constexpr uint8_t HASTAT_OK = 0x00;
constexpr uint8_t HASTAT_TIMEOUT = 0x09;
constexpr uint8_t HASTAT_COMMAND_TIMEOUT = 0x0B;
constexpr uint8_t HASTAT_BUS_RESET = 0x0E;
constexpr uint8_t HASTAT_PARITY_ERROR = 0x0F;
constexpr uint8_t HASTAT_SEL_TO = 0x11;

// Execute-command flags.
constexpr uint8_t SRB_DIR_IN = 0x08;
constexpr uint8_t SRB_DIR_OUT = 0x10;
constexpr uint8_t SRB_EVENT_NOTIFY = 0x40;

constexpr int SENSE_LEN = 20;

#pragma pack(push, 1)

struct SRB_HAInquiry {
    uint8_t SRB_Cmd;
    uint8_t SRB_Status;
    uint8_t SRB_HaId;
    uint8_t SRB_Flags;
    uint32_t SRB_Hdr_Rsvd;
    uint8_t HA_Count;
    uint8_t HA_SCSI_ID;
    uint8_t HA_ManagerId[16];
    uint8_t HA_Identifier[16];
    uint8_t HA_Unique[16];
    uint16_t HA_Rsvd1;
};

struct SRB_GDEVBlock {
    uint8_t SRB_Cmd;
    uint8_t SRB_Status;
    uint8_t SRB_HaId;
    uint8_t SRB_Flags;
    uint32_t SRB_Hdr_Rsvd;
    uint8_t SRB_Target;
    uint8_t SRB_Lun;
    uint8_t SRB_DeviceType;
    uint8_t SRB_Rsvd1;
};

struct SRB_ExecSCSICmd {
    uint8_t SRB_Cmd;
    uint8_t SRB_Status;
    uint8_t SRB_HaId;
    uint8_t SRB_Flags;
    uint32_t SRB_Hdr_Rsvd;
    uint8_t SRB_Target;
    uint8_t SRB_Lun;
    uint16_t SRB_Rsvd1;
    uint32_t SRB_BufLen;
    uint8_t* SRB_BufPointer;
    uint8_t SRB_SenseLen;
    uint8_t SRB_CDBLen;
    uint8_t SRB_HaStat;
    uint8_t SRB_TargStat;
    void* SRB_PostProc;
    uint8_t SRB_Rsvd2[20];
    uint8_t CDBByte[16];
    uint8_t SenseArea[SENSE_LEN];
};

#pragma pack(pop)

// Every SRB starts with the same four-byte header.
struct SRB_Header {
    uint8_t SRB_Cmd;
    uint8_t SRB_Status;
    uint8_t SRB_HaId;
    uint8_t SRB_Flags;
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(SRB_HAInquiry) == 60);
static_assert(offsetof(SRB_HAInquiry, HA_Count) == 8);
static_assert(offsetof(SRB_HAInquiry, HA_SCSI_ID) == 9);
static_assert(offsetof(SRB_HAInquiry, HA_ManagerId) == 10);
static_assert(offsetof(SRB_HAInquiry, HA_Identifier) == 26);
static_assert(offsetof(SRB_HAInquiry, HA_Unique) == 42);
static_assert(sizeof(SRB_GDEVBlock) == 12);
static_assert(offsetof(SRB_GDEVBlock, SRB_Target) == 8);
static_assert(offsetof(SRB_GDEVBlock, SRB_Lun) == 9);
static_assert(offsetof(SRB_GDEVBlock, SRB_DeviceType) == 10);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_Target) == 8);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_Lun) == 9);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_BufLen) == 12);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_BufPointer) == 16);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_SenseLen) == 20);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_CDBLen) == 21);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_HaStat) == 22);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_TargStat) == 23);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_PostProc) == 24);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_Rsvd2) == 28);
static_assert(offsetof(SRB_ExecSCSICmd, CDBByte) == 48);
static_assert(offsetof(SRB_ExecSCSICmd, SenseArea) == 64);
static_assert(sizeof(SRB_ExecSCSICmd) == 84);
#endif

// Entry points of an ASPI manager.
using SendASPI32CommandFn = uint32_t(ASPI_CDECL*)(void* srb);
using GetASPI32SupportInfoFn = uint32_t(ASPI_CDECL*)();
using GetASPI32DLLVersionFn = uint32_t(ASPI_CDECL*)();
using GetASPI32BufferFn = int(ASPI_CDECL*)(void* buffer);
using FreeASPI32BufferFn = int(ASPI_CDECL*)(void* buffer);
using TranslateASPI32AddressFn = int(ASPI_CDECL*)(uint32_t* path, uint32_t* devNode);
// A manager of our own that bounds each command by the caller's time-out exports this beside
// SendASPI32Command (the Linux SG_IO manager); WNASPI32.DLL has no such entry point.
using SendASPI32CommandTimeoutFn = uint32_t(ASPI_CDECL*)(void* srb, uint32_t timeoutMs);
