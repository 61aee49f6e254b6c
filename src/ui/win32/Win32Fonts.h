#pragma once
// Fonts and text colours of the views.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/Controls.h"

// The fonts of one window: its own (face, points) and the per-control variants, made once
// each and deleted with the window.
class TViewFonts {
public:
    TViewFonts(const char* face, int points);
    ~TViewFonts();
    TViewFonts(const TViewFonts&) = delete;
    TViewFonts& operator=(const TViewFonts&) = delete;

    HFONT Window() { return For(nullptr, 0, false); }
    // face nullptr: the window's face; size 0: the window's size, > 0 points, < 0 pixels.
    HFONT For(const char* face, int size, bool bold);
    const std::string& Face() const { return face_; }
    int Points() const { return points_; }

private:
    struct Entry {
        std::string face;
        int height;
        bool bold;
        HFONT font;
    };
    std::string face_;
    int points_;
    std::vector<Entry> fonts_;
};

// LOGFONT height of a size: points (> 0) at the screen's resolution, pixels (< 0) as given.
int FontHeight(int size);
// Twips for a rich edit's character format.
int FontTwips(int size);
COLORREF ColourOf(TColor colour);
