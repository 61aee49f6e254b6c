#pragma once
// Native devices for the pass-through tests: each path answers as the test scripts it.
#include <cstdint>
#include <functional>
#include <string>

namespace platform::host {

struct HostDevice {
    using Control = std::function<bool(uint32_t code, void* in, uint32_t inSize, void* out, uint32_t outSize,
                                       uint32_t& returned, uint32_t& error)>;
    uint32_t openError = 0;  // what opening the device fails with; 0: it opens
    Control control;         // unset: every control code fails with kErrorNotSupported
};

// OpenDevice finds the device by its path (compared case-insensitively); other paths
// fail with kErrorFileNotFound.
void AddDevice(const std::string& path, HostDevice device);
// Devices opened and not yet closed.
int OpenDeviceCount();
// Removes every device; called by Reset().
void ResetDevices();

}  // namespace platform::host
