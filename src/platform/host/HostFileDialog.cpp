#include "platform/host/HostFileDialog.h"

namespace {
platform::host::SaveDialogScript script;
}  // namespace

namespace platform {

std::optional<std::string> SaveFileDialog(const SaveDialogOptions& options)
{
    if (!script) return std::nullopt;
    return script(options);
}

}  // namespace platform

namespace platform::host {

void SetSaveDialogScript(SaveDialogScript newScript) { script = std::move(newScript); }

}  // namespace platform::host
