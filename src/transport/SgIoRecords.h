#pragma once
// The records and codes of Linux SCSI generic pass-through (SG_IO on /dev/sr* and /dev/sg*),
// in the layout of the running system's ABI. Defined here rather than taken from the kernel
// headers so that the translation from ASPI requests is ordinary portable code; the native
// tests check every field against <scsi/sg.h>.
#include <cstdint>

namespace sgio {

// Control codes.
constexpr uint32_t kSgIo = 0x2285;               // SG_IO: one command, waits for its end
constexpr uint32_t kScsiIoctlGetIdLun = 0x5382;  // SCSI_IOCTL_GET_IDLUN: address of the device
constexpr uint32_t kBlkSectGet = 0x1267;         // BLKSECTGET: longest request in 512-byte sectors

// SgIoHeader::dxfer_direction.
constexpr int32_t kDxferNone = -1;
constexpr int32_t kDxferToDev = -2;
constexpr int32_t kDxferFromDev = -3;

// Host status codes (DID_*) the executor tells apart.
constexpr uint16_t kDidOk = 0x00;
constexpr uint16_t kDidNoConnect = 0x01;
constexpr uint16_t kDidBusBusy = 0x02;
constexpr uint16_t kDidTimeOut = 0x03;
constexpr uint16_t kDidBadTarget = 0x04;
constexpr uint16_t kDidAbort = 0x05;
constexpr uint16_t kDidParity = 0x06;
constexpr uint16_t kDidReset = 0x08;
constexpr uint16_t kDidTransportDisrupted = 0x0E;
constexpr uint16_t kDidTransportFailfast = 0x0F;

// Driver status: the low bits an error, DRIVER_SENSE only that sense data was written.
constexpr uint16_t kDriverErrorMask = 0x07;
constexpr uint16_t kDriverTimeout = 0x06;

// struct sg_io_hdr.
struct SgIoHeader {
    int32_t interface_id;  // 'S'
    int32_t dxfer_direction;
    uint8_t cmd_len;
    uint8_t mx_sb_len;
    uint16_t iovec_count;
    uint32_t dxfer_len;
    void* dxferp;
    uint8_t* cmdp;
    uint8_t* sbp;
    uint32_t timeout;  // milliseconds
    uint32_t flags;
    int32_t pack_id;
    void* usr_ptr;
    uint8_t status;  // the target's whole status byte
    uint8_t masked_status;
    uint8_t msg_status;
    uint8_t sb_len_wr;
    uint16_t host_status;
    uint16_t driver_status;
    int32_t resid;
    uint32_t duration;
    uint32_t info;
};

// The answer of SCSI_IOCTL_GET_IDLUN: target id | LUN << 8 | channel << 16 | host << 24, and
// a number unique to the host adapter.
struct IdLun {
    int32_t dev_id;
    int32_t host_unique_id;
};

}  // namespace sgio
