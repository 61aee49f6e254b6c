#pragma once
// The system's save-file dialog. Native tests answer it with a script.
#include <optional>
#include <string>

namespace platform {

struct SaveDialogOptions {
    std::string fileName;    // proposed name
    std::string filter;      // display text and pattern pairs joined by '|': "Text (*.txt)|*.txt"
    std::string defaultExt;  // without the dot; added to a name typed without an extension
};

// Runs the dialog over the active window; the chosen path, or nullopt when the user cancelled.
std::optional<std::string> SaveFileDialog(const SaveDialogOptions& options);

}  // namespace platform
