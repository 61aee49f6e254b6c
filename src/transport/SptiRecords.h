#pragma once
// The records Windows NT reads and writes for SCSI pass-through on a CD-ROM device, byte
// for byte in their 32-bit layouts; the native 64-bit build has the pointer-sized
// DataBuffer of 64-bit Windows. Defined here so that the translation from ASPI requests
// runs, and is tested, on any system.
#include <cstddef>
#include <cstdint>

namespace spti {

// Control codes: device type << 16 | access << 14 | function << 2 | method (buffered).
constexpr uint32_t kIoctlScsiPassThroughDirect = 0x0004D014;  // controller, read and write access, 0x405
constexpr uint32_t kIoctlScsiGetAddress = 0x00041018;         // controller, any access, 0x406
constexpr uint32_t kIoctlStorageQueryProperty = 0x002D1400;   // mass storage, any access, 0x500

// PassThroughDirect::DataIn.
constexpr uint8_t kDataOut = 0;
constexpr uint8_t kDataIn = 1;
constexpr uint8_t kDataUnspecified = 2;

// PropertyQuery: the standard query of the adapter descriptor.
constexpr uint32_t kStorageAdapterProperty = 1;
constexpr uint32_t kPropertyStandardQuery = 0;

// SCSI_PASS_THROUGH_DIRECT.
struct PassThroughDirect {
    uint16_t Length;  // sizeof(PassThroughDirect)
    uint8_t ScsiStatus;
    uint8_t PathId;
    uint8_t TargetId;
    uint8_t Lun;
    uint8_t CdbLength;
    uint8_t SenseInfoLength;
    uint8_t DataIn;
    uint32_t DataTransferLength;
    uint32_t TimeOutValue;  // seconds
    void* DataBuffer;
    uint32_t SenseInfoOffset;  // from the start of the record to the sense buffer
    uint8_t Cdb[16];
};

// What IOCTL_SCSI_PASS_THROUGH_DIRECT gets and answers in: the record, then the sense
// buffer (room for fixed-format sense data; an SRB takes at most its sense area of it).
constexpr size_t kSenseBufferSize = 32;
struct PassThroughWithSense {
    PassThroughDirect sptd;
    uint8_t sense[kSenseBufferSize];
};

// SCSI_ADDRESS.
struct ScsiAddress {
    uint32_t Length;
    uint8_t PortNumber;
    uint8_t PathId;
    uint8_t TargetId;
    uint8_t Lun;
};

// STORAGE_PROPERTY_QUERY.
struct PropertyQuery {
    uint32_t PropertyId;
    uint32_t QueryType;
    uint8_t AdditionalParameters[1];
};

// STORAGE_ADAPTER_DESCRIPTOR; systems before Windows 8 end it after BusMinorVersion.
struct AdapterDescriptor {
    uint32_t Version;
    uint32_t Size;
    uint32_t MaximumTransferLength;
    uint32_t MaximumPhysicalPages;
    uint32_t AlignmentMask;
    uint8_t AdapterUsesPio;
    uint8_t AdapterScansDown;
    uint8_t CommandQueueing;
    uint8_t AcceleratedTransfer;
    uint8_t BusType;
    uint16_t BusMajorVersion;
    uint16_t BusMinorVersion;
    uint8_t SrbType;
    uint8_t AddressType;
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(PassThroughDirect) == 44);
static_assert(offsetof(PassThroughDirect, ScsiStatus) == 2);
static_assert(offsetof(PassThroughDirect, PathId) == 3);
static_assert(offsetof(PassThroughDirect, TargetId) == 4);
static_assert(offsetof(PassThroughDirect, Lun) == 5);
static_assert(offsetof(PassThroughDirect, CdbLength) == 6);
static_assert(offsetof(PassThroughDirect, SenseInfoLength) == 7);
static_assert(offsetof(PassThroughDirect, DataIn) == 8);
static_assert(offsetof(PassThroughDirect, DataTransferLength) == 12);
static_assert(offsetof(PassThroughDirect, TimeOutValue) == 16);
static_assert(offsetof(PassThroughDirect, DataBuffer) == 20);
static_assert(offsetof(PassThroughDirect, SenseInfoOffset) == 24);
static_assert(offsetof(PassThroughDirect, Cdb) == 28);
static_assert(offsetof(PassThroughWithSense, sense) == 44);
static_assert(sizeof(PassThroughWithSense) == 76);
static_assert(sizeof(ScsiAddress) == 8);
static_assert(offsetof(ScsiAddress, PortNumber) == 4);
static_assert(offsetof(ScsiAddress, Lun) == 7);
static_assert(sizeof(PropertyQuery) == 12);
static_assert(offsetof(AdapterDescriptor, MaximumTransferLength) == 8);
static_assert(offsetof(AdapterDescriptor, AlignmentMask) == 16);
static_assert(offsetof(AdapterDescriptor, BusType) == 24);
static_assert(offsetof(AdapterDescriptor, BusMinorVersion) == 28);
static_assert(sizeof(AdapterDescriptor) == 32);
#endif

}  // namespace spti
