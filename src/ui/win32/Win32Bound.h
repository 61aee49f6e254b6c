#pragma once
// A view's control and the form state bound to it (inside the view base only).
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/win32/Win32Fonts.h"
#include "ui/win32/Win32View.h"

struct TBoundControl {
    TViewRow row;
    HWND handle = nullptr;      // the control; a spin edit's edit box, a radio group's group box
    HWND arrows = nullptr;      // a spin edit's up-down control
    std::vector<HWND> buttons;  // a radio group's buttons (ids 1..n inside the group box)
    std::function<void()> handler;
    // What the control shows where reading it back is costly: items, tabs, lines, ticks.
    std::vector<std::string> shownItems;
    std::vector<int> shownTicks;
    std::string shownHint;
    TColor shownColour = TColor::WindowText;
};

TControl& StateOf(const TBoundState& state);
// Panels, group boxes and tab controls carry other controls.
bool IsContainer(const TBoundControl& bound);
// Makes the control of bound.row on parent.
void CreateControl(TBoundControl& bound, HWND parent, TViewFonts& fonts);
// Remakes a radio group's buttons (ids 1..n inside its group box) for its items.
void CreateRadioButtons(TBoundControl& bound, const std::vector<std::string>& items);
// Copies the bound state into the control where it differs; hints go to tooltip.
void UpdateControl(TBoundControl& bound, HWND tooltip);
