#pragma once
// Devices of the Linux program: real ones are opened and driven by ioctl(); a path may instead
// be answered by the program itself (emulated drives that take SG_IO), through the same calls.
#include <cstdint>
#include <functional>
#include <string>

namespace platform::posix {

// Answers one control code: true on success with the output byte count in returned, false with
// an errno value in error.
using DeviceAnswer = std::function<bool(uint32_t code, void* in, uint32_t inSize, void* out, uint32_t outSize,
                                        uint32_t& returned, uint32_t& error)>;

// OpenDevice on this path (compared exactly) opens the answering device instead of a file.
void AddEmulatedDevice(const std::string& path, DeviceAnswer answer);

}  // namespace platform::posix
