#pragma once
// Why a device cannot be used, in words that say what to do about it.
#include <cstdint>
#include <string>

namespace cli {

enum class AccessKind { Usable, Missing, Denied, NotADrive };

struct AccessProblem {
    AccessKind kind = AccessKind::Usable;
    std::string text;  // empty when usable
};

// Opens path for reading and writing as the SG_IO manager does and explains a failure: the
// device does not exist, or the group (usually "cdrom") the user lacks, or that it is no
// CD-ROM drive.
AccessProblem CheckDevice(const std::string& path);

// The kernel passed a command only to privileged programs: what to do about it.
std::string RefusedCommandText(const std::string& device, uint8_t opcode);

}  // namespace cli
