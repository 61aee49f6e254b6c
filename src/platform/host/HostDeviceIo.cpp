#include "platform/host/HostDeviceIo.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>

#include "platform/DeviceIo.h"

namespace {

std::mutex lock;
std::map<std::string, platform::host::HostDevice> devices;
int openCount = 0;

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

}  // namespace

namespace platform {

DeviceHandle OpenDevice(const std::string& path, uint32_t& error)
{
    std::lock_guard<std::mutex> guard(lock);
    auto it = devices.find(Lower(path));
    error = it == devices.end() ? kErrorFileNotFound : it->second.openError;
    if (error != 0) return nullptr;
    ++openCount;
    return new host::HostDevice(it->second);
}

bool DeviceControl(DeviceHandle device, uint32_t code, void* in, uint32_t inSize, void* out, uint32_t outSize,
                   uint32_t& returned, uint32_t& error)
{
    const auto* scripted = static_cast<host::HostDevice*>(device);
    returned = 0;
    error = kErrorNotSupported;
    if (!scripted->control) return false;
    const bool ok = scripted->control(code, in, inSize, out, outSize, returned, error);
    if (ok) error = 0;
    else returned = 0;
    return ok;
}

void CloseDevice(DeviceHandle device)
{
    std::lock_guard<std::mutex> guard(lock);
    --openCount;
    delete static_cast<host::HostDevice*>(device);
}

}  // namespace platform

namespace platform::host {

void AddDevice(const std::string& path, HostDevice device)
{
    std::lock_guard<std::mutex> guard(lock);
    devices[Lower(path)] = std::move(device);
}

int OpenDeviceCount()
{
    std::lock_guard<std::mutex> guard(lock);
    return openCount;
}

void ResetDevices()
{
    std::lock_guard<std::mutex> guard(lock);
    devices.clear();
}

}  // namespace platform::host
