#include "cli/Session.h"

#include <climits>
#include <cstdlib>

#include "cli/Access.h"
#include "cli/Output.h"
#include "cli/Progress.h"
#include "emu/Emulator.h"
#include "emu/Scenario.h"
#include "emu/SgIoDevice.h"
#include "platform/Library.h"
#include "platform/MainLoop.h"
#include "platform/Thread.h"
#include "platform/host/Host.h"
#include "platform/posix/Posix.h"
#include "platform/posix/PosixDevices.h"
#include "settings/Language.h"
#include "settings/Store.h"
#include "transport/Aspi.h"
#include "transport/AspiManager.h"
#include "transport/SgIoManager.h"

namespace cli {

namespace {

// Where LoadASPI32 looks for the manager: the system directory's WNASPI32.DLL.
std::string ManagerModuleName()
{
    char buffer[200] = {};
    const uint32_t length = platform::SystemDirectory(buffer, sizeof buffer);
    std::string name = length >= 1 && length < sizeof buffer ? std::string(buffer, length) : "";
    if (!name.empty() && name.back() != '\\') name += '\\';
    return name + "WNASPI32.DLL";
}

std::string RealPath(const std::string& path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? resolved : path;
}

bool ParseIndex(const std::string& text, int& index)
{
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    index = std::stoi(text);
    return true;
}

class JobThread final : public platform::Thread {
public:
    explicit JobThread(std::function<void()> job) : job_(std::move(job)) {}
    ~JobThread() override { WaitFor(); }

protected:
    void Execute() override { job_(); }

private:
    std::function<void()> job_;
};

}  // namespace

Session::Session(const Options& options) : options_(options) {}

Session::~Session()
{
    FreeDriveList();
    UnloadASPI32();
    SetSgIoManager(nullptr);
    if (emulator_) emu::UninstallNative();
}

int Session::Bind()
{
    const std::optional<std::string> scenario =
        options_.Value("emulate") ? options_.Value("emulate") : options_.Value("emulate-sgio");
    if (scenario) {
        emu::ScenarioResult loaded{nullptr, ""};
        if (*scenario == "default") loaded.manager = emu::DefaultScenario();
        else loaded = emu::LoadScenario(*scenario);
        if (!loaded.manager) {
            Complain("cannot use the scenario: " + loaded.error);
            return kExitFile;
        }
        emulator_ = loaded.manager;
        if (options_.Value("emulate")) {
            emu::InstallNative(emulator_);
            return kExitOk;
        }
        // The emulated drives as device nodes that take SG_IO, as the kernel shows real ones.
        for (const emu::SgIoNode& node : emu::SgIoNodes(emulator_)) {
            platform::posix::AddEmulatedDevice(
                node.path, [device = node.device](uint32_t code, void* in, uint32_t inSize, void* out,
                                                  uint32_t outSize, uint32_t& returned, uint32_t& error) {
                    return device->Control(code, in, inSize, out, outSize, returned, error);
                });
        }
    }
    SetSgIoManager(std::make_shared<SgIoManager>());
    platform::host::RegisterModule(ManagerModuleName(), SgIoEntryPoints());
    sgIo_ = true;
    return kExitOk;
}

int Session::Start()
{
    ChooseLanguage();
    std::string error;
    if (!platform::posix::LoadStore(error)) {
        Complain("cannot read the settings: " + error);
        return kExitFile;
    }
    RemoveMisplacedKeys();
    CheckVersionStamp(false);
    if (const int code = Bind()) return code;
    if (!InitASPI32()) return AspiFailure();
    BuildDriveList();
    if (numDrives == 0) {
        Complain("no CD-ROM drive found");
        return kExitNoDevice;
    }
    return kExitOk;
}

int Session::AspiFailure() const
{
    const std::string& status = ASPIStatusText();
    const std::shared_ptr<SgIoManager> manager = CurrentSgIoManager();
    if (manager && !manager->DeniedDevice().empty() && status.find("SS_SECURITY_VIOLATION") == 0) {
        Complain(emulator_ ? "no permission to open " + manager->DeniedDevice()
                           : CheckDevice(manager->DeniedDevice()).text);
        return kExitNoPermission;
    }
    if (status == "SS_NO_ADAPTERS") {
        Complain(manager ? "no CD-ROM drive found (no /dev/sr* device, no /dev/sg* device of a CD-ROM drive)"
                         : "no CD-ROM drive found (the manager reports no host adapter)");
        return kExitNoDevice;
    }
    Complain("the ASPI manager does not work: " + (status.empty() ? std::string("a host adapter did not answer") : status));
    return kExitFailed;
}

int Session::FindDrive(const std::string& dev, int& drive)
{
    int index = -1;
    for (int i = 0; i < numDrives && index < 0; ++i) {
        const TCDROM& cd = *Drives[i].CDROM;
        const std::string address = "HA" + std::to_string(cd.HaId()) + ":ID" + std::to_string(cd.TargetId());
        if (address == dev || (sgIo_ && !emulator_ && RealPath(DeviceName(i)) == RealPath(dev)) ||
            (sgIo_ && DeviceName(i) == dev))
            index = i;
    }
    if (index < 0 && ParseIndex(dev, index) && index >= numDrives) {
        Complain("no drive " + dev + ": kalmor list shows " + std::to_string(numDrives) + " drive" +
                 (numDrives == 1 ? "" : "s") + ", numbered from 0");
        return kExitNoDevice;
    }
    if (index < 0) {
        if (!sgIo_ || emulator_) {
            Complain("no such device: " + dev);
            return kExitNoDevice;
        }
        const AccessProblem problem = CheckDevice(dev);
        Complain(problem.text);
        return problem.kind == AccessKind::Denied ? kExitNoPermission : kExitNoDevice;
    }
    drive = index;
    return kExitOk;
}

std::string Session::DeviceName(int drive) const
{
    const TCDROM& cd = *Drives[drive].CDROM;
    if (sgIo_) return CurrentSgIoManager()->DevicePath(cd.HaId());
    return "HA" + std::to_string(cd.HaId()) + ":ID" + std::to_string(cd.TargetId());
}

void Session::Detect(int drive, bool force)
{
    TCDROM& cd = *Drives[drive].CDROM;
    RunWithProgress(lg_EXAMINE + Drives[drive].DriveName, [drive, force] { DetectSpeeds(drive, force); },
                    [&cd] { return double(cd.DetectionProgress.load()); });
    ReadDetectMediumChange(drive);
}

int Session::Finish()
{
    std::string error;
    if (platform::posix::SaveStoreIfChanged(error)) return kExitOk;
    Complain(error);
    return kExitFile;
}

std::string Session::TakeRefusal()
{
    const std::shared_ptr<SgIoManager> manager = CurrentSgIoManager();
    if (!manager) return "";
    const SgIoManager::Refusal refusal = manager->LastRefusal();
    if (refusal.count == refusals_) return "";
    refusals_ = refusal.count;
    return RefusedCommandText(refusal.device, refusal.opcode);
}

void RunWithProgress(const std::string& label, const std::function<void()>& job,
                     const std::function<double()>& progress)
{
    Progress bar(label);
    bool ended = false;
    JobThread worker(job);
    worker.OnTerminate = [&ended] { ended = true; };
    platform::Timer timer(100);
    timer.OnTimer = [&] { bar.Show(progress()); };
    timer.SetEnabled(true);
    worker.Start();
    platform::posix::RunLoopUntil([&ended] { return ended; });
}

}  // namespace cli
