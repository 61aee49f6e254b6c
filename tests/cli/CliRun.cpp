#include "cli/CliRun.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

namespace {

// The background program's output files have names of their own, as other runs go meanwhile.
const char kBackground[] = "background-";

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

CliRun::CliRun()
{
    char pattern[] = "/tmp/kalmor-cli-XXXXXX";
    folder_ = ::mkdtemp(pattern);
}

CliRun::~CliRun()
{
    if (background_ > 0) Stop();
    std::filesystem::remove_all(folder_);
}

pid_t CliRun::Spawn(const std::vector<std::string>& arguments, const std::string& outputs)
{
    std::vector<std::string> words = {KALMOR_PROGRAM};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<std::string> env = {"XDG_CONFIG_HOME=" + folder_ + "/config", "HOME=" + folder_, "LANG=C",
                                    "PATH=/usr/bin:/bin"};
    for (const auto& [name, value] : environment) env.push_back(name + "=" + value);
    const std::string out = folder_ + "/" + outputs + "stdout", err = folder_ + "/" + outputs + "stderr";
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int nullFd = ::open("/dev/null", O_RDONLY);
    ::dup2(outFd, STDOUT_FILENO);
    ::dup2(errFd, STDERR_FILENO);
    ::dup2(nullFd, STDIN_FILENO);
    std::vector<char*> argv, envp;
    for (std::string& word : words) argv.push_back(word.data());
    for (std::string& entry : env) envp.push_back(entry.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
}

CliResult CliRun::Collect(pid_t pid, const std::string& outputs)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    CliResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = ReadFile(folder_ + "/" + outputs + "stdout");
    result.err = ReadFile(folder_ + "/" + outputs + "stderr");
    return result;
}

CliResult CliRun::Run(const std::vector<std::string>& arguments) { return Collect(Spawn(arguments, ""), ""); }

void CliRun::Start(const std::vector<std::string>& arguments) { background_ = Spawn(arguments, kBackground); }

CliResult CliRun::Stop()
{
    ::kill(background_, SIGTERM);
    const CliResult result = Collect(background_, kBackground);
    background_ = -1;
    return result;
}

std::string CliRun::OutputSoFar() const { return ReadFile(folder_ + "/" + kBackground + "stdout"); }

std::string CliRun::Store() const { return ReadFile(folder_ + "/config/kalmor/kalmor.reg"); }

std::string TestScenario(const std::string& name) { return std::string(KALMOR_TEST_DATA_DIR) + "/scenarios/" + name; }

std::string EmuScenario(const std::string& name) { return std::string(KALMOR_SCENARIO_DIR) + "/" + name; }

bool WaitFor(const std::function<bool()>& condition, int ms)
{
    for (int waited = 0; waited < ms; waited += 20) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return condition();
}
