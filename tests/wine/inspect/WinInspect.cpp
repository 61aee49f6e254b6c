// wininspect [-d DESKTOP] COMMAND ARGS: lists, reads and drives other processes' windows for
// the GUI checks under Wine. Exit code 0 on success, 1 when the window, control or box asked
// for is not there (or a wait timed out), 2 on a usage error.
//
//   list [-a] [substr]        windows (visible only unless -a) with descendants and state
//   find CLASS|- TITLE|- [ms] waits for a visible top-level window (class exact, title part)
//   gone HWND [ms]            waits until the window is destroyed or hidden
//   ctl DLG ID                the control of that id inside DLG (nested ones too)
//   text H / settext H TXT    WM_GETTEXT / WM_SETTEXT
//   click DLG ID / cmd DLG ID BM_CLICK to the control / WM_COMMAND BN_CLICKED to DLG
//   post|send H MSG WP LP     PostMessage / SendMessageTimeout (prints the result)
//   msgbox [ID|first]         lists message boxes; presses button ID (or the first)
//   key VK...                 SendInput presses (DOWN, RETURN, ESCAPE, ... or numbers)
//   clip / clipformats        clipboard text (UTF-8) / its formats
//   shot H|0 FILE.bmp         the window's screen area (0: the screen) as a 24-bit BMP
//   version FILE              the version resource: FileVersion and StringFileInfo values
#include "Inspect.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <stdexcept>
#include <string>
#include <vector>


namespace {

using TArgs = std::vector<std::string>;

UINT_PTR Number(const std::string& text) { return std::strtoul(text.c_str(), nullptr, 0); }
HWND WindowOf(const std::string& text) { return reinterpret_cast<HWND>(Number(text)); }

template <typename Ready>
bool WaitFor(DWORD ms, Ready ready)
{
    const DWORD start = ::GetTickCount();
    while (!ready()) {
        if (::GetTickCount() - start >= ms) return false;
        ::Sleep(50);
    }
    return true;
}

BOOL CALLBACK MatchId(HWND child, LPARAM data)
{
    auto& wanted = *reinterpret_cast<std::pair<int, HWND>*>(data);
    if (::GetDlgCtrlID(child) != wanted.first) return TRUE;
    wanted.second = child;
    return FALSE;
}

// A direct child first, then any descendant (controls on panels and group boxes).
HWND FindControl(HWND dialog, int id)
{
    if (HWND direct = ::GetDlgItem(dialog, id)) return direct;
    std::pair<int, HWND> search{id, nullptr};
    ::EnumChildWindows(dialog, MatchId, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

int Find(const TArgs& args)
{
    const std::string className = args.at(0) == "-" ? "" : args.at(0);
    const std::string title = args.at(1) == "-" ? "" : args.at(1);
    const DWORD ms = args.size() > 2 ? Number(args[2]) : 5000;
    HWND found = nullptr;
    WaitFor(ms, [&] {
        for (HWND at = ::GetTopWindow(nullptr); at; at = ::GetWindow(at, GW_HWNDNEXT)) {
            if (!::IsWindowVisible(at) || (!className.empty() && ClassOf(at) != className)) continue;
            if (WindowText(at).find(title) == std::string::npos) continue;
            found = at;
            return true;
        }
        return false;
    });
    if (!found) return 1;
    std::printf("%s\n", Hex(reinterpret_cast<UINT_PTR>(found)).c_str());
    return 0;
}

// Message boxes: dialogs with the message text in a static of id 65535.
int MessageBoxes(const TArgs& args)
{
    int seen = 0;
    for (HWND box = ::GetTopWindow(nullptr); box; box = ::GetWindow(box, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(box) || ClassOf(box) != "#32770" || !::GetDlgItem(box, 0xFFFF)) continue;
        ++seen;
        std::string line = "hwnd=" + Hex(reinterpret_cast<UINT_PTR>(box)) + " caption=" + Quoted(WindowText(box)) +
                           " text=" + Quoted(WindowText(::GetDlgItem(box, 0xFFFF))) + " buttons=";
        int first = 0;
        for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (ClassOf(child) != "Button") continue;
            const int id = ::GetDlgCtrlID(child);
            if (!first) first = id;
            line += std::to_string(id) + ":" + Quoted(WindowText(child)) + " ";
        }
        if (!args.empty()) {
            const int press = args[0] == "first" ? first : static_cast<int>(Number(args[0]));
            HWND button = ::GetDlgItem(box, press);
            if (!button) return 1;
            ::PostMessageW(button, BM_CLICK, 0, 0);
            line += "-> clicked " + std::to_string(press);
        }
        std::printf("%s\n", line.c_str());
        if (!args.empty()) return 0;
    }
    return seen ? 0 : 1;
}

WORD KeyCode(const std::string& name)
{
    static const std::pair<const char*, WORD> names[] = {
        {"DOWN", VK_DOWN},     {"UP", VK_UP},     {"LEFT", VK_LEFT},   {"RIGHT", VK_RIGHT},
        {"RETURN", VK_RETURN}, {"ESCAPE", VK_ESCAPE}, {"TAB", VK_TAB}, {"SPACE", VK_SPACE},
        {"HOME", VK_HOME},     {"END", VK_END},   {"PRIOR", VK_PRIOR}, {"NEXT", VK_NEXT},
    };
    for (const auto& [text, code] : names)
        if (name == text) return code;
    return static_cast<WORD>(Number(name));
}

int Keys(const TArgs& args)
{
    for (const std::string& name : args) {
        INPUT presses[2] = {};
        for (INPUT& press : presses) {
            press.type = INPUT_KEYBOARD;
            press.ki.wVk = KeyCode(name);
        }
        presses[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, presses, sizeof(INPUT));
        ::Sleep(30);
    }
    return 0;
}

int Clipboard(bool formats)
{
    if (!::OpenClipboard(nullptr)) return 1;
    if (formats) {
        for (UINT format = ::EnumClipboardFormats(0); format; format = ::EnumClipboardFormats(format)) {
            char name[128] = {};
            if (::GetClipboardFormatNameA(format, name, sizeof name) > 0)
                std::printf("%u %s\n", format, Quoted(name).c_str());
            else
                std::printf("%u\n", format);
        }
    } else if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (auto* text = static_cast<const wchar_t*>(::GlobalLock(data))) {
            std::printf("%s", Utf8(text).c_str());
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return 0;
}

int Shot(HWND window, const std::string& path)
{
    RECT area = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (window && !::GetWindowRect(window, &area)) return 1;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ::SelectObject(memory, old);

    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    const DWORD stride = (width * 3 + 3) & ~3u;
    std::vector<BYTE> pixels(stride * height);
    ::GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return 1;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(pixels.data(), 1, pixels.size(), out);
    return std::fclose(out) == 0 ? 0 : 1;
}

int Version(const std::string& path)
{
    DWORD handle = 0;
    std::vector<BYTE> data(::GetFileVersionInfoSizeA(path.c_str(), &handle));
    if (data.empty() || !::GetFileVersionInfoA(path.c_str(), 0, data.size(), data.data())) return 1;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    if (::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &size) && fixed)
        std::printf("FileVersion %u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                    HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
    WORD* languages = nullptr;
    if (!::VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&languages), &size))
        return 0;
    static const char* const keys[] = {"CompanyName",  "FileDescription", "FileVersion",      "InternalName",
                                       "LegalCopyright", "OriginalFilename", "ProductName", "ProductVersion",
                                       "Comments"};
    for (UINT i = 0; i + 1 < size / sizeof(WORD); i += 2) {
        char block[64];
        std::snprintf(block, sizeof block, "\\StringFileInfo\\%04X%04X\\", languages[i], languages[i + 1]);
        for (const char* key : keys) {
            char* value = nullptr;
            UINT length = 0;
            if (::VerQueryValueA(data.data(), (std::string(block) + key).c_str(), reinterpret_cast<void**>(&value),
                                 &length) &&
                value)
                std::printf("%s%s=%s\n", block, key, value);
        }
    }
    return 0;
}

bool UseDesktop(const std::string& name)
{
    HDESK desktop = nullptr;
    WaitFor(15000, [&] { return (desktop = ::OpenDesktopA(name.c_str(), 0, FALSE, GENERIC_ALL)) != nullptr; });
    return desktop && ::SetThreadDesktop(desktop);
}

int Run(const std::string& command, const TArgs& args)
{
    if (command == "list") {
        const bool all = !args.empty() && args[0] == "-a";
        const size_t at = all ? 1 : 0;
        ListWindows(all, args.size() > at ? args[at] : "");
        return 0;
    }
    if (command == "find") return Find(args);
    if (command == "gone") {
        HWND window = WindowOf(args.at(0));
        const DWORD ms = args.size() > 1 ? Number(args[1]) : 5000;
        return WaitFor(ms, [&] { return !::IsWindow(window) || !::IsWindowVisible(window); }) ? 0 : 1;
    }
    if (command == "ctl") {
        HWND control = FindControl(WindowOf(args.at(0)), static_cast<int>(Number(args.at(1))));
        if (!control) return 1;
        std::printf("%s\n", Hex(reinterpret_cast<UINT_PTR>(control)).c_str());
        return 0;
    }
    if (command == "text") {
        std::printf("%s\n", WindowText(WindowOf(args.at(0))).c_str());
        return 0;
    }
    if (command == "settext") {
        const std::wstring text = Wide(args.at(1));
        bool ok = false;
        Ask(WindowOf(args.at(0)), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &ok);
        return ok ? 0 : 1;
    }
    if (command == "click" || command == "cmd") {
        HWND dialog = WindowOf(args.at(0));
        const int id = static_cast<int>(Number(args.at(1)));
        HWND control = FindControl(dialog, id);
        if (command == "click")
            return control && ::PostMessageW(control, BM_CLICK, 0, 0) ? 0 : 1;
        return ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control)) ? 0 : 1;
    }
    if (command == "post")
        return ::PostMessageW(WindowOf(args.at(0)), Number(args.at(1)), Number(args.at(2)), Number(args.at(3))) ? 0 : 1;
    if (command == "send") {
        bool ok = false;
        const LRESULT result = Ask(WindowOf(args.at(0)), Number(args.at(1)), Number(args.at(2)), Number(args.at(3)), &ok);
        std::printf("%ld\n", static_cast<long>(result));
        return ok ? 0 : 1;
    }
    if (command == "msgbox") return MessageBoxes(args);
    if (command == "key") return Keys(args);
    if (command == "clip" || command == "clipformats") return Clipboard(command == "clipformats");
    if (command == "shot") return Shot(WindowOf(args.at(0)), args.at(1));
    if (command == "version") return Version(args.at(0));
    std::fprintf(stderr, "unknown command %s\n", command.c_str());
    return 2;
}

}  // namespace

int main()
{
    _setmode(_fileno(stdout), _O_BINARY);  // "\r\n" in texts stays as it is
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    TArgs args;
    for (int i = 1; i < count; ++i) args.push_back(Utf8(wide[i]));
    ::LocalFree(wide);
    if (args.size() >= 2 && args[0] == "-d") {
        if (!UseDesktop(args[1])) {
            std::fprintf(stderr, "no desktop %s\n", args[1].c_str());
            return 1;
        }
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty()) {
        std::fprintf(stderr, "usage: wininspect [-d DESKTOP] COMMAND ARGS\n");
        return 2;
    }
    try {
        return Run(args[0], TArgs(args.begin() + 1, args.end()));
    } catch (const std::out_of_range&) {
        std::fprintf(stderr, "missing argument for %s\n", args[0].c_str());
        return 2;
    }
}
