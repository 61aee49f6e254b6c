#include <deque>
#include <mutex>

#include "platform/MessageBox.h"
#include "platform/host/Host.h"

namespace {
std::mutex lock;
std::vector<platform::host::ShownMessage> shown;
std::deque<platform::MessageResult> answers;
}  // namespace

namespace platform {

MessageResult ShowMessage(MessageKind kind, const std::string& text, const std::string& caption)
{
    std::lock_guard<std::mutex> guard(lock);
    shown.push_back({kind, text, caption});
    if (kind != MessageKind::Confirmation) return MessageResult::Ok;
    if (answers.empty()) return MessageResult::Yes;
    MessageResult answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace platform

namespace platform::host {

std::vector<ShownMessage> TakeMessages()
{
    std::lock_guard<std::mutex> guard(lock);
    std::vector<ShownMessage> taken;
    taken.swap(shown);
    return taken;
}

void QueueAnswer(MessageResult answer)
{
    std::lock_guard<std::mutex> guard(lock);
    answers.push_back(answer);
}

}  // namespace platform::host
