// The registry of the Linux program is the REGEDIT4 file of the user's settings folder: read
// at start, written atomically after a change, both roots in one file.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/host/HostRegistry.h"
#include "platform/posix/Posix.h"

namespace {

struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
};

std::string lastText;
FileStamp lastStamp;

FileStamp Stamp(const std::string& fileName)
{
    struct stat info {};
    FileStamp stamp;
    if (::stat(fileName.c_str(), &info) != 0) return stamp;
    stamp.exists = true;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modified = info.st_mtim;
    return stamp;
}

bool SameStamp(const FileStamp& a, const FileStamp& b)
{
    return a.exists == b.exists && a.device == b.device && a.inode == b.inode && a.size == b.size &&
           a.modified.tv_sec == b.modified.tv_sec && a.modified.tv_nsec == b.modified.tv_nsec;
}

std::string ConfigFolder()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/kalmor";
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* user = ::getpwuid(::getuid());
        home = user ? user->pw_dir : "/";
    }
    return std::string(home) + "/.config/kalmor";
}

// mkdir -p, private to the user like the rest of ~/.config.
bool MakeFolders(const std::string& folder)
{
    for (size_t cut = folder.find('/', 1); ; cut = folder.find('/', cut + 1)) {
        const std::string part = folder.substr(0, cut);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (cut == std::string::npos) return true;
    }
}

}  // namespace

namespace platform::posix {

std::string StoreFileName() { return ConfigFolder() + "/kalmor.reg"; }

bool LoadStore(std::string& error)
{
    const std::string fileName = StoreFileName();
    // A file that cannot be read leaves the settings as they were, so nothing saves over it.
    const std::string before = host::RegistryText();
    host::ClearRegistry();
    const FileStamp stamp = Stamp(fileName);
    if (stamp.exists) {
        const host::RegistryLoadResult loaded = host::LoadRegistryFile(fileName);
        if (!loaded.ok) {
            error = fileName + (loaded.line ? ":" + std::to_string(loaded.line) : "") + ": " + loaded.error;
            host::ClearRegistry();
            host::LoadRegistryText(before);
            return false;
        }
    }
    lastText = host::RegistryText();
    lastStamp = stamp;
    return true;
}

bool SaveStoreIfChanged(std::string& error)
{
    const std::string text = host::RegistryText();
    if (text == lastText) return true;
    const std::string fileName = StoreFileName();
    if (!MakeFolders(ConfigFolder()) || !host::SaveRegistryFile(fileName)) {
        error = "cannot write " + fileName + ": " + std::strerror(errno);
        return false;
    }
    lastText = text;
    lastStamp = Stamp(fileName);
    return true;
}

bool StoreChangedOnDisk() { return !SameStamp(Stamp(StoreFileName()), lastStamp); }

}  // namespace platform::posix
