#pragma once
// The rich edit box's own copy and RTF output, for a view that shows a report in one.
#include <windows.h>

#include <string>

// Selects the whole text and copies it with the box's own copy (plain text and RTF).
void RichEditCopyAll(HWND box);
// Writes the box's content as an RTF document (EM_STREAMOUT, SF_RTF); false when the file
// cannot be written.
bool RichEditSaveRtf(HWND box, const std::string& path);
