#include "diag/LineList.h"

#include <stdexcept>

void TruncateLines(TLineList& lines, int count)
{
    while (lines.Count() > count) lines.Delete(lines.Count() - 1);
}

void TStringLineList::Delete(int i)
{
    if (i < 0 || i >= Count()) throw std::out_of_range("TStringLineList::Delete");
    lines_.erase(lines_.begin() + i);
}
