#pragma once
// Controls of the native shell, screen, single-instance and application services, for
// tests and tools. ResetShell (called by Reset) restores the defaults given here.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Screen.h"
#include "platform/Shell.h"

namespace platform::host {

struct TrayCall {
    TrayAction action;
    std::string tip;
    TrayIconKind icon;
};
// Tray icon calls since the last take.
std::vector<TrayCall> TakeTrayCalls();
// An icon was added and not removed since.
bool TrayIconShown();

// Targets ShellOpen was asked to open since the last take.
std::vector<std::string> TakeOpenedTargets();

// The work area (nullopt: the system cannot tell), the screen size and the mouse position;
// 0,0-1024,740, 1024 x 768 and 0,0 until set.
void SetWorkArea(std::optional<ScreenRect> area);
void SetScreenSize(int width, int height);
void SetCursorPos(ScreenPoint point);

// A mutex of this name is held by another copy of the program.
void HoldForeignMutex(const std::string& name);

// RunApplication gives up after this much virtual time (one hour until set).
void SetApplicationTimeLimit(uint32_t ms);

void ResetShell();

}  // namespace platform::host
