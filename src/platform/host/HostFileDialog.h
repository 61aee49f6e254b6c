#pragma once
// Controls of the native save-file dialog, for tests.
#include <functional>
#include <optional>
#include <string>

#include "platform/FileDialog.h"

namespace platform::host {

// Answers every SaveFileDialog until replaced; without one the dialog is cancelled.
using SaveDialogScript = std::function<std::optional<std::string>(const SaveDialogOptions&)>;
void SetSaveDialogScript(SaveDialogScript script);

}  // namespace platform::host
