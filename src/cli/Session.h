#pragma once
// What every command of the Linux program starts with, as the Windows program's start-up
// does: the settings file, the language, the ASPI manager (the emulator, or SG_IO on the
// system's devices), the host adapters and the drive table; then finding DEV, the cached
// speed-step detection, and saving the settings at the end.
#include <functional>
#include <memory>
#include <string>

#include "cli/Options.h"

namespace emu {
class Manager;
}

namespace cli {

class Session {
public:
    explicit Session(const Options& options);
    ~Session();

    // kExitOk when the drives are known; otherwise the message is out and this is the code.
    int Start();
    // The drive DEV names: a device path (symbolic links followed), "HA<h>:ID<t>", or an index
    // from list. kExitOk with drive set, or the code after a message saying why not.
    int FindDrive(const std::string& dev, int& drive);
    // The name list shows for a drive: its device path, or "HA<h>:ID<t>" on the emulator.
    std::string DeviceName(int drive) const;
    // The cached speed-step detection of the start-up (probing with force), with a progress
    // bar, then the drive's medium detection setting.
    void Detect(int drive, bool force);
    // Saves changed settings after the command; kExitFile after a message when that fails.
    int Finish();
    // A command the kernel refused since the last call, as a message with its remedy
    // (empty when none): kExitNoPermission is then the right exit code.
    std::string TakeRefusal();

    const Options& options() const { return options_; }
    bool Json() const { return options_.Flag("json"); }
    // The emulated system, null on real drives.
    const std::shared_ptr<emu::Manager>& Emulator() const { return emulator_; }

private:
    int Bind();
    int AspiFailure() const;

    const Options& options_;
    std::shared_ptr<emu::Manager> emulator_;
    bool sgIo_ = false;
    uint32_t refusals_ = 0;
};

// Runs job on a worker thread while the main loop draws progress() (0..100) every 100 ms.
void RunWithProgress(const std::string& label, const std::function<void()>& job,
                     const std::function<double()>& progress);

}  // namespace cli
