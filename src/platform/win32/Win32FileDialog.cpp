#include <windows.h>

#include <commdlg.h>

#include <algorithm>

#include "platform/FileDialog.h"

namespace platform {

std::optional<std::string> SaveFileDialog(const SaveDialogOptions& options)
{
    // The dialog wants its filter as NUL-separated pairs ending in two NULs.
    std::string filter = options.filter;
    std::replace(filter.begin(), filter.end(), '|', '\0');
    filter.append(2, '\0');
    char path[MAX_PATH] = {};
    options.fileName.copy(path, sizeof path - 1);

    OPENFILENAMEA dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;  // the size Windows 95 and NT 4 know
    dialog.hwndOwner = ::GetActiveWindow();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrDefExt = options.defaultExt.empty() ? nullptr : options.defaultExt.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_EXPLORER;
    if (!::GetSaveFileNameA(&dialog)) return std::nullopt;
    return std::string(path);
}

}  // namespace platform
