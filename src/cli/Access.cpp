#include "cli/Access.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "transport/Text.h"

namespace cli {

namespace {

std::string GroupName(gid_t gid)
{
    const group* entry = ::getgrgid(gid);
    return entry ? entry->gr_name : std::to_string(gid);
}

bool InSessionGroup(gid_t gid)
{
    if (::getegid() == gid) return true;
    std::vector<gid_t> groups(size_t(std::max(0, ::getgroups(0, nullptr))));
    const int n = ::getgroups(int(groups.size()), groups.data());
    for (int i = 0; i < n; ++i)
        if (groups[size_t(i)] == gid) return true;
    return false;
}

// Member by the group database, though not in this login's groups: added since the login.
bool ListedInGroup(gid_t gid)
{
    const group* entry = ::getgrgid(gid);
    const passwd* user = ::getpwuid(::getuid());
    if (!entry || !user) return false;
    for (char** member = entry->gr_mem; *member; ++member)
        if (std::strcmp(*member, user->pw_name) == 0) return true;
    return false;
}

std::string DeniedText(const std::string& path, const struct stat& info)
{
    const std::string owner = GroupName(info.st_gid);
    std::string text = "no permission to open " + path + " for reading and writing (group \"" + owner + "\")";
    if (info.st_mode & S_IWOTH) return text + ": the system refused it (a security policy?)";
    if (!(info.st_mode & S_IWGRP)) return text + ": only its owner may write to it";
    if (InSessionGroup(info.st_gid)) return text;
    if (ListedInGroup(info.st_gid)) return text + ": you were added to the group \"" + owner + "\"; log in again";
    return text + ": add your user to the group \"" + owner + "\" (sudo usermod -aG " + owner +
           " $USER) and log in again";
}

}  // namespace

AccessProblem CheckDevice(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {AccessKind::Missing, "no such device: " + path + " (" + std::strerror(errno) + ")"};
    if (!S_ISBLK(info.st_mode) && !S_ISCHR(info.st_mode)) return {AccessKind::NotADrive, path + " is no device"};
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == EACCES || errno == EPERM) return {AccessKind::Denied, DeniedText(path, info)};
        return {AccessKind::Missing, "cannot open " + path + ": " + std::strerror(errno)};
    }
    ::close(fd);
    return {AccessKind::NotADrive, path + " is no CD-ROM drive"};
}

std::string RefusedCommandText(const std::string& device, uint8_t opcode)
{
    return "the kernel refused command " + IntToHex(opcode, 2) + "h on " + device +
           ": it passes this command only for programs with the capability CAP_SYS_RAWIO (run kalmor as root, "
           "or give it the capability: sudo setcap cap_sys_rawio+ep \"$(command -v kalmor)\")";
}

}  // namespace cli
