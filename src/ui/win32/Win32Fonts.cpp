#include "ui/win32/Win32Fonts.h"

namespace {

int ScreenDpi()
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

int FontHeight(int size) { return size > 0 ? -::MulDiv(size, ScreenDpi(), 72) : size; }

int FontTwips(int size) { return size > 0 ? size * 20 : ::MulDiv(-size, 1440, ScreenDpi()); }

COLORREF ColourOf(TColor colour)
{
    switch (colour) {
    case TColor::Red: return RGB(255, 0, 0);
    case TColor::Highlight: return ::GetSysColor(COLOR_HIGHLIGHT);
    case TColor::WindowText: break;
    }
    return ::GetSysColor(COLOR_WINDOWTEXT);
}

TViewFonts::TViewFonts(const char* face, int points) : face_(face), points_(points) {}

TViewFonts::~TViewFonts()
{
    for (const Entry& entry : fonts_) ::DeleteObject(entry.font);
}

HFONT TViewFonts::For(const char* face, int size, bool bold)
{
    const std::string name = face ? face : face_;
    const int height = FontHeight(size ? size : points_);
    for (const Entry& entry : fonts_)
        if (entry.face == name && entry.height == height && entry.bold == bold) return entry.font;
    HFONT font = ::CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                               name.c_str());
    fonts_.push_back({name, height, bold, font});
    return font;
}
