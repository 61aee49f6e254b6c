#include "ui/LinesEdit.h"

std::optional<TLinesEdit> LinesEdit(const std::vector<std::string>& shown, const std::vector<std::string>& wanted)
{
    if (shown == wanted) return std::nullopt;
    std::size_t keep = 0;
    while (keep < shown.size() && keep < wanted.size() && shown[keep] == wanted[keep]) ++keep;
    TLinesEdit edit{keep, {}};
    for (std::size_t i = keep; i < wanted.size(); ++i) {
        if (i > 0) edit.text += "\r\n";
        edit.text += wanted[i];
    }
    return edit;
}
