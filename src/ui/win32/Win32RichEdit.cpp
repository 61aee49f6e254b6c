#include "ui/win32/Win32RichEdit.h"

#include <richedit.h>

namespace {

DWORD CALLBACK WriteChunk(DWORD_PTR file, LPBYTE buffer, LONG count, LONG* written)
{
    DWORD done = 0;
    const BOOL ok = ::WriteFile(reinterpret_cast<HANDLE>(file), buffer, static_cast<DWORD>(count), &done, nullptr);
    *written = static_cast<LONG>(done);
    return ok && done == static_cast<DWORD>(count) ? 0 : 1;
}

}  // namespace

void RichEditCopyAll(HWND box)
{
    ::SendMessageA(box, EM_SETSEL, 0, -1);
    ::SendMessageA(box, WM_COPY, 0, 0);
}

bool RichEditSaveRtf(HWND box, const std::string& path)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(file);
    stream.pfnCallback = WriteChunk;
    ::SendMessageA(box, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    const bool closed = ::CloseHandle(file) != 0;
    return stream.dwError == 0 && closed;
}
