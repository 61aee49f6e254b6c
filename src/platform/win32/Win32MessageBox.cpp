#include <windows.h>

#include "platform/MessageBox.h"

namespace platform {

MessageResult ShowMessage(MessageKind kind, const std::string& text, const std::string& caption)
{
    UINT style = MB_OK | MB_ICONINFORMATION;
    if (kind == MessageKind::Error) style = MB_OK | MB_ICONERROR;
    if (kind == MessageKind::Confirmation) style = MB_YESNO | MB_ICONQUESTION;
    if (kind == MessageKind::Plain) style = MB_OK;
    const int answer = ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), style | MB_TASKMODAL);
    if (kind != MessageKind::Confirmation) return MessageResult::Ok;
    return answer == IDYES ? MessageResult::Yes : MessageResult::No;
}

}  // namespace platform
