#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>

#include "platform/Library.h"
#include "platform/host/Host.h"

namespace {

struct HostModule {
    std::string fileName;
    std::map<std::string, void*> procs;
    int loads = 0;
};

std::mutex lock;
std::vector<HostModule*> modules;
std::string systemDirectory = "C:\\windows\\system32";

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

// The file name part after the last backslash or slash.
std::string BaseName(const std::string& path)
{
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

namespace platform {

ModuleHandle LoadModule(const std::string& fileName)
{
    std::lock_guard<std::mutex> guard(lock);
    for (HostModule* m : modules) {
        const bool sameFile = Lower(m->fileName) == Lower(fileName);
        const bool sameBase = fileName.find_first_of("\\/") == std::string::npos &&
                              Lower(BaseName(m->fileName)) == Lower(fileName);
        if (sameFile || sameBase) {
            ++m->loads;
            return m;
        }
    }
    return nullptr;
}

void* ModuleProc(ModuleHandle module, const char* name)
{
    if (!module) return nullptr;
    const auto& procs = static_cast<HostModule*>(module)->procs;
    auto it = procs.find(name);
    return it == procs.end() ? nullptr : it->second;
}

void UnloadModule(ModuleHandle module)
{
    std::lock_guard<std::mutex> guard(lock);
    if (module) --static_cast<HostModule*>(module)->loads;
}

std::string ModuleFileName(ModuleHandle module)
{
    if (!module) return "";
    return static_cast<HostModule*>(module)->fileName.substr(0, 199);
}

uint32_t SystemDirectory(char* buffer, uint32_t size)
{
    std::lock_guard<std::mutex> guard(lock);
    const uint32_t length = uint32_t(systemDirectory.size());
    if (length + 1 > size) return length + 1;
    std::memcpy(buffer, systemDirectory.c_str(), length + 1);
    return length;
}

}  // namespace platform

namespace platform::host {

void RegisterModule(const std::string& fileName, const std::map<std::string, void*>& procs)
{
    UnregisterModule(fileName);
    std::lock_guard<std::mutex> guard(lock);
    modules.push_back(new HostModule{fileName, procs});
}

void UnregisterModule(const std::string& fileName)
{
    std::lock_guard<std::mutex> guard(lock);
    for (auto it = modules.begin(); it != modules.end(); ++it) {
        if (Lower((*it)->fileName) == Lower(fileName)) {
            delete *it;
            modules.erase(it);
            return;
        }
    }
}

int LoadedModuleCount()
{
    std::lock_guard<std::mutex> guard(lock);
    int n = 0;
    for (HostModule* m : modules) n += m->loads > 0 ? 1 : 0;
    return n;
}

void SetSystemDirectory(const std::string& dir)
{
    std::lock_guard<std::mutex> guard(lock);
    systemDirectory = dir;
}

}  // namespace platform::host
