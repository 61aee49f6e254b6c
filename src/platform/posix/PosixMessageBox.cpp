// Message boxes of a program without windows: the text on stderr; a confirmation is asked on
// the terminal and answered No when nobody can answer.
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "platform/MessageBox.h"
#include "platform/posix/Posix.h"

namespace platform {

MessageResult ShowMessage(MessageKind kind, const std::string& text, const std::string& caption)
{
    const std::string prefix = caption.empty() ? "kalmor: " : "kalmor: " + posix::Utf8FromCp1252(caption) + ": ";
    std::fprintf(stderr, "%s%s%s\n", prefix.c_str(), kind == MessageKind::Error ? "error: " : "",
                 posix::Utf8FromCp1252(text).c_str());
    if (kind != MessageKind::Confirmation) return MessageResult::Ok;
    if (!::isatty(STDIN_FILENO) || !::isatty(STDERR_FILENO)) return MessageResult::No;
    std::fprintf(stderr, "[y/N] ");
    std::fflush(stderr);
    std::string answer;
    if (!std::getline(std::cin, answer)) return MessageResult::No;
    return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y' || answer[0] == 'j' || answer[0] == 'J')
               ? MessageResult::Yes
               : MessageResult::No;
}

}  // namespace platform
