#pragma once
// The message boxes the program logic shows. Native tests answer them with a script.
#include <string>

namespace platform {

enum class MessageKind { Information, Error, Confirmation };  // OK, OK, Yes/No
enum class MessageResult { Ok, Yes, No };

MessageResult ShowMessage(MessageKind kind, const std::string& text, const std::string& caption = "");

}  // namespace platform
