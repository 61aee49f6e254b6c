// The "list" command: windows with their place, style and control state, read from another
// process with plain messages; a tab control's items through a buffer in the target process
// (TCM_GETITEM is not marshalled).
#include "Inspect.h"

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>


namespace {

std::string ButtonState(HWND button)
{
    const LONG type = ::GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK;
    const bool checkable = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
                           type == BS_AUTO3STATE || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    return checkable ? " checked=" + std::to_string(Ask(button, BM_GETCHECK, 0, 0)) : std::string();
}

std::string ComboState(HWND combo)
{
    const int count = static_cast<int>(Ask(combo, CB_GETCOUNT, 0, 0));
    std::string state = " sel=" + std::to_string(static_cast<int>(Ask(combo, CB_GETCURSEL, 0, 0))) +
                        " count=" + std::to_string(count);
    for (int i = 0; i < count; ++i) {
        std::wstring item(Ask(combo, CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
        const LRESULT length = Ask(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        item.resize(length > 0 ? length : 0);
        state += " [" + std::to_string(i) + "]=" + Quoted(Utf8(item));
    }
    return state;
}

// TCM_GETITEMW and TCM_GETITEMRECT with their records in the tab control's process; the
// tab places are given on the screen, for a click.
std::string TabState(HWND tabs)
{
    const int count = static_cast<int>(Ask(tabs, TCM_GETITEMCOUNT, 0, 0));
    std::string items;
    std::string places;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(tabs, &pid);
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    constexpr int kChars = 256;
    constexpr SIZE_T kSize = sizeof(TCITEMW) + sizeof(RECT) + kChars * sizeof(wchar_t);
    auto* remote = process ? static_cast<char*>(::VirtualAllocEx(process, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE))
                           : nullptr;
    char* remoteRect = remote + sizeof(TCITEMW);
    auto* remoteText = reinterpret_cast<wchar_t*>(remoteRect + sizeof(RECT));
    for (int i = 0; remote && i < count; ++i) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = remoteText;
        item.cchTextMax = kChars;
        std::vector<wchar_t> text(kChars, L'\0');
        ::WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
        ::WriteProcessMemory(process, remoteText, text.data(), kChars * sizeof(wchar_t), nullptr);
        Ask(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(remote));
        ::ReadProcessMemory(process, remoteText, text.data(), kChars * sizeof(wchar_t), nullptr);
        text.back() = L'\0';
        RECT place = {};
        Ask(tabs, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(remoteRect));
        ::ReadProcessMemory(process, remoteRect, &place, sizeof place, nullptr);
        ::MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&place), 2);
        if (i) {
            items += ",";
            places += ";";
        }
        items += Quoted(Utf8(text.data()));
        places += std::to_string(place.left) + "," + std::to_string(place.top) + "," + std::to_string(place.right) +
                  "," + std::to_string(place.bottom);
    }
    if (remote) ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    if (process) ::CloseHandle(process);
    return " cursel=" + std::to_string(static_cast<int>(Ask(tabs, TCM_GETCURSEL, 0, 0))) + " items=[" + items +
           "] places=[" + places + "]";
}

std::string ControlState(HWND window)
{
    const std::string name = ClassOf(window);
    if (name == "Button") return ButtonState(window);
    if (name == "msctls_trackbar32")
        return " pos=" + std::to_string(Ask(window, TBM_GETPOS, 0, 0)) + " min=" +
               std::to_string(Ask(window, TBM_GETRANGEMIN, 0, 0)) + " max=" +
               std::to_string(Ask(window, TBM_GETRANGEMAX, 0, 0));
    if (name == "msctls_progress32") return " pos=" + std::to_string(Ask(window, PBM_GETPOS, 0, 0));
    if (name == "msctls_updown32") return " pos=" + std::to_string(static_cast<int>(Ask(window, UDM_GETPOS32, 0, 0)));
    if (name == "ComboBox") return ComboState(window);
    if (name == "SysTabControl32") return TabState(window);
    return {};
}

void PrintWindow(HWND window, int depth)
{
    DWORD pid = 0;
    const DWORD tid = ::GetWindowThreadProcessId(window, &pid);
    RECT place;
    ::GetWindowRect(window, &place);
    std::string line(depth * 2, ' ');
    line += "hwnd=" + Hex(reinterpret_cast<UINT_PTR>(window)) + " pid=" + std::to_string(pid) +
            " tid=" + std::to_string(tid);
    if (depth > 0) line += " id=" + std::to_string(::GetDlgCtrlID(window));
    line += " class=" + Quoted(ClassOf(window)) + " text=" + Quoted(WindowText(window));
    line += " rect=" + std::to_string(place.left) + "," + std::to_string(place.top) + "," +
            std::to_string(place.right) + "," + std::to_string(place.bottom);
    line += " style=" + Hex(static_cast<DWORD>(::GetWindowLongA(window, GWL_STYLE))) +
            " exstyle=" + Hex(static_cast<DWORD>(::GetWindowLongA(window, GWL_EXSTYLE)));
    line += " vis=" + std::to_string(::IsWindowVisible(window) ? 1 : 0) +
            " en=" + std::to_string(::IsWindowEnabled(window) ? 1 : 0);
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    if (::GetGUIThreadInfo(tid, &thread) && thread.hwndFocus == window) line += " focus=1";
    std::printf("%s%s\n", line.c_str(), ControlState(window).c_str());
}

int Depth(HWND child, HWND top)
{
    int depth = 0;
    for (HWND at = child; at && at != top; at = ::GetAncestor(at, GA_PARENT)) ++depth;
    return depth;
}

BOOL CALLBACK ListChild(HWND child, LPARAM top)
{
    PrintWindow(child, Depth(child, reinterpret_cast<HWND>(top)));
    return TRUE;
}

struct TListing {
    bool all;
    std::string filter;
};

BOOL CALLBACK ListTop(HWND window, LPARAM data)
{
    const auto& listing = *reinterpret_cast<const TListing*>(data);
    if (!listing.all && !::IsWindowVisible(window)) return TRUE;
    if (!listing.filter.empty() && ClassOf(window).find(listing.filter) == std::string::npos &&
        WindowText(window).find(listing.filter) == std::string::npos)
        return TRUE;
    PrintWindow(window, 0);
    ::EnumChildWindows(window, ListChild, reinterpret_cast<LPARAM>(window));
    return TRUE;
}

}  // namespace

void ListWindows(bool all, const std::string& filter)
{
    TListing listing{all, filter};
    ::EnumWindows(ListTop, reinterpret_cast<LPARAM>(&listing));
}
