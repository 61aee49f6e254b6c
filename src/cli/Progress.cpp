#include "cli/Progress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "platform/posix/Posix.h"

namespace cli {

namespace {
constexpr int kBarWidth = 30;
}

Progress::Progress(std::string label) : label_(std::move(label)), terminal_(::isatty(STDERR_FILENO) == 1) {}

Progress::~Progress()
{
    if (shown_) std::fprintf(stderr, "\r\033[K");
}

void Progress::Show(double percent, const std::string& label)
{
    if (!terminal_) return;
    if (!label.empty()) label_ = label;
    const int done = int(std::clamp(percent, 0.0, 100.0) * kBarWidth / 100 + 0.5);
    std::fprintf(stderr, "\r\033[K%s [%s%s] %3d%%", platform::posix::Utf8FromCp1252(label_).c_str(),
                 std::string(size_t(done), '#').c_str(), std::string(size_t(kBarWidth - done), '.').c_str(),
                 int(std::clamp(percent, 0.0, 100.0)));
    std::fflush(stderr);
    shown_ = true;
}

}  // namespace cli
