// kalmor report [--bb] [-o FILE]: the German drive report of the debug window, built after the
// start-up's detection of every drive; Windows-1252 inside, UTF-8 on the terminal and in FILE.
#include <fstream>

#include "cli/Commands.h"
#include "cli/Output.h"
#include "diag/DriveReport.h"
#include "diag/LineList.h"
#include "platform/Mutex.h"
#include "platform/posix/Posix.h"
#include "settings/Store.h"

namespace cli {

namespace {

// The report's lines, readable from the main thread while the worker writes them: the report
// replaces and removes its own progress lines, so the bar shows how many drives are done.
class SharedLines : public TLineList {
public:
    void Append(const std::string& line) override
    {
        platform::MutexLock guard(lock_);
        lines_.Append(line);
    }
    int Count() const override
    {
        platform::MutexLock guard(lock_);
        return lines_.Count();
    }
    std::string Line(int i) const override
    {
        platform::MutexLock guard(lock_);
        return lines_.Line(i);
    }
    void Replace(int i, const std::string& line) override
    {
        platform::MutexLock guard(lock_);
        lines_.Replace(i, line);
    }
    void Delete(int i) override
    {
        platform::MutexLock guard(lock_);
        lines_.Delete(i);
    }
    std::vector<std::string> Lines() const
    {
        platform::MutexLock guard(lock_);
        return lines_.Lines();
    }

private:
    mutable platform::Mutex lock_;
    TStringLineList lines_;
};

}  // namespace

int ReportCommand(Session& session)
{
    for (int i = 0; i < numDrives; ++i) session.Detect(i, false);
    SharedLines lines;
    const bool sweeps = session.options().Flag("bb");
    const int expected = 60 * numDrives + 40;  // lines of a report, about; only the bar uses it
    RunWithProgress("report", [&] { BuildDebugReport(lines, sweeps); },
                    [&] { return std::min(99.0, lines.Count() * 100.0 / expected); });
    std::string text;
    for (const std::string& line : lines.Lines()) text += line + "\n";
    if (const std::optional<std::string> file = session.options().Value("output")) {
        std::ofstream out(*file, std::ios::binary | std::ios::trunc);
        out << platform::posix::Utf8FromCp1252(text);
        out.close();
        if (!out) {
            Complain("cannot write " + *file);
            return kExitFile;
        }
    } else if (session.Json()) {
        Json list = Json::Array();
        for (const std::string& line : lines.Lines()) list.Add(line);
        Print(list.Dump() + "\n");
    } else {
        Print(text);
    }
    return kExitOk;
}

}  // namespace cli
