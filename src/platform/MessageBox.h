#pragma once
// The message boxes the program logic shows. Native tests answer them with a script.
#include <string>

namespace platform {

// Information, Error: OK with their icon; Confirmation: Yes/No; Plain: OK without an icon.
enum class MessageKind { Information, Error, Confirmation, Plain };
enum class MessageResult { Ok, Yes, No };

MessageResult ShowMessage(MessageKind kind, const std::string& text, const std::string& caption = "");

}  // namespace platform
