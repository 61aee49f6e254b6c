#include "cli/Cli.h"

#include "cli/Commands.h"
#include "cli/Output.h"
#include "platform/Assert.h"

namespace cli {

namespace {

int RunCommand(Session& session)
{
    const Options& options = session.options();
    if (options.command == "list") return ListCommand(session);
    if (options.command == "report") return ReportCommand(session);
    if (options.command == "daemon") return DaemonCommand(session);
    int drive = -1;
    if (const int code = session.FindDrive(options.arguments[0], drive)) return code;
    if (options.command == "info") return InfoCommand(session, drive);
    if (options.command == "speed") return SpeedCommand(session, drive, options.arguments[1]);
    if (options.command == "lock") return LockCommand(session, drive, options.arguments[1]);
    if (options.command == "timers") return TimersCommand(session, drive);
    if (options.command == "detect") return DetectCommand(session, drive);
    return MeasureCommand(session, drive);
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments)
{
    const ParseResult parsed = ParseOptions(arguments);
    if (!parsed.error.empty()) {
        Complain(parsed.error + " (kalmor --help shows the commands)");
        return kExitUsage;
    }
    if (parsed.options.command == "help") {
        Print(UsageText());
        return kExitOk;
    }
    Session session(parsed.options);
    try {
        if (const int code = session.Start()) return code;
        const int code = RunCommand(session);
        const int saved = session.Finish();
        return code != kExitOk ? code : saved;
    } catch (const EAssertionFailed& failure) {
        Complain(std::string("internal error: ") + failure.what());
        return kExitFailed;
    }
}

}  // namespace cli
