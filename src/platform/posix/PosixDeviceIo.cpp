// Devices by path: open(2) for reading and writing without waiting for a disc (a drive
// without one must still take commands), ioctl(2) with the input block as its argument. Error
// codes are errno values.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>

#include "platform/DeviceIo.h"
#include "platform/posix/PosixDevices.h"

namespace {

struct PosixDevice {
    int fd = -1;
    platform::posix::DeviceAnswer answer;
};

std::mutex lock;
std::map<std::string, platform::posix::DeviceAnswer> emulated;

}  // namespace

namespace platform {

DeviceHandle OpenDevice(const std::string& path, uint32_t& error)
{
    error = 0;
    {
        std::lock_guard<std::mutex> guard(lock);
        const auto found = emulated.find(path);
        if (found != emulated.end()) return new PosixDevice{-1, found->second};
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = uint32_t(errno);
        return nullptr;
    }
    return new PosixDevice{fd, {}};
}

bool DeviceControl(DeviceHandle device, uint32_t code, void* in, uint32_t inSize, void* out, uint32_t outSize,
                   uint32_t& returned, uint32_t& error)
{
    auto* opened = static_cast<PosixDevice*>(device);
    returned = 0;
    error = 0;
    if (opened->answer) {
        const bool ok = opened->answer(code, in, inSize, out, outSize, returned, error);
        if (!ok) returned = 0;
        return ok;
    }
    // Linux control codes read and write the one block they are given.
    if (::ioctl(opened->fd, code, in ? in : out) < 0) {
        error = uint32_t(errno);
        return false;
    }
    returned = outSize;
    return true;
}

void CloseDevice(DeviceHandle device)
{
    auto* opened = static_cast<PosixDevice*>(device);
    if (opened->fd >= 0) ::close(opened->fd);
    delete opened;
}

}  // namespace platform

namespace platform::posix {

void AddEmulatedDevice(const std::string& path, DeviceAnswer answer)
{
    std::lock_guard<std::mutex> guard(lock);
    emulated[path] = std::move(answer);
}

}  // namespace platform::posix
