#pragma once
// Devices opened by path and driven by control codes: what the SCSI pass-through manager
// needs of Windows NT ("\\.\CdRom0", DeviceIoControl). Native tests script the devices.
#include <cstdint>
#include <string>

namespace platform {

using DeviceHandle = void*;

// System error codes the pass-through tells apart.
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorNotReady = 21;
constexpr uint32_t kErrorNotSupported = 50;
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorSemTimeout = 121;
constexpr uint32_t kErrorDeviceNotConnected = 1167;

// Opens the device for reading and writing, shared with other readers and writers.
// Null on failure, with the system's error code in error.
DeviceHandle OpenDevice(const std::string& path, uint32_t& error);

// Sends a control code with an input and an output buffer (they may be the same block).
// True on success with the output byte count in returned; false with the error code.
bool DeviceControl(DeviceHandle device, uint32_t code, void* in, uint32_t inSize, void* out, uint32_t outSize,
                   uint32_t& returned, uint32_t& error);

void CloseDevice(DeviceHandle device);

}  // namespace platform
