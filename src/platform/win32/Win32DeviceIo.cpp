#include <windows.h>

#include "platform/DeviceIo.h"

static_assert(platform::kErrorFileNotFound == ERROR_FILE_NOT_FOUND);
static_assert(platform::kErrorAccessDenied == ERROR_ACCESS_DENIED);
static_assert(platform::kErrorNotReady == ERROR_NOT_READY);
static_assert(platform::kErrorNotSupported == ERROR_NOT_SUPPORTED);
static_assert(platform::kErrorInvalidParameter == ERROR_INVALID_PARAMETER);
static_assert(platform::kErrorSemTimeout == ERROR_SEM_TIMEOUT);
static_assert(platform::kErrorDeviceNotConnected == ERROR_DEVICE_NOT_CONNECTED);

namespace platform {

DeviceHandle OpenDevice(const std::string& path, uint32_t& error)
{
    const HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = ::GetLastError();
        return nullptr;
    }
    error = 0;
    return handle;
}

bool DeviceControl(DeviceHandle device, uint32_t code, void* in, uint32_t inSize, void* out, uint32_t outSize,
                   uint32_t& returned, uint32_t& error)
{
    DWORD count = 0;
    if (!::DeviceIoControl(device, code, in, inSize, out, outSize, &count, nullptr)) {
        error = ::GetLastError();
        returned = 0;
        return false;
    }
    error = 0;
    returned = count;
    return true;
}

void CloseDevice(DeviceHandle device) { ::CloseHandle(device); }

}  // namespace platform
