#pragma once
// The Linux program run as a user runs it: a child process with its own settings folder, its
// output and exit code collected.
#include <sys/types.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class CliRun {
public:
    // A fresh settings folder, removed again by the destructor.
    CliRun();
    ~CliRun();

    // Runs kalmor with the arguments and waits for it.
    CliResult Run(const std::vector<std::string>& arguments);
    // Starts kalmor in the background; Stop ends it with SIGTERM and collects it.
    void Start(const std::vector<std::string>& arguments);
    CliResult Stop();
    // The output the background program wrote so far.
    std::string OutputSoFar() const;

    // The settings file's text ("" when there is none).
    std::string Store() const;
    const std::string& Folder() const { return folder_; }
    // Extra environment variables for the next runs.
    std::map<std::string, std::string> environment;

private:
    // outputs: the prefix of the names of the stdout and stderr files.
    pid_t Spawn(const std::vector<std::string>& arguments, const std::string& outputs);
    CliResult Collect(pid_t pid, const std::string& outputs);

    std::string folder_;
    pid_t background_ = -1;
};

// A scenario file of tests/cli/scenarios or emu/scenarios by name.
std::string TestScenario(const std::string& name);
std::string EmuScenario(const std::string& name);

// Waits up to ms of real time for condition, checking every 20 ms.
bool WaitFor(const std::function<bool()>& condition, int ms);
