#pragma once

#include <windows.h>

#include "platform/DpiScale.h"

// The screen density as the windows see it. The program declares itself aware of each monitor's
// density, so it lays itself out at its window's dpi and again when that changes; the functions of
// Windows 10 that tell a window's dpi are looked up at run time, so that an older Windows takes the
// screen's density instead.
namespace kanaroll::dpi {

// The dpi of a window: that of its monitor once the program is aware of each monitor's density.
DpiScale OfWindow(HWND window);
// The dpi a new top-level window starts with: the system's.
DpiScale OfSystem();

RECT Scale(DpiScale scale, RECT designBounds);
SIZE Scale(DpiScale scale, SIZE designSize);
POINT Scale(DpiScale scale, POINT designPoint);

// A system metric (SM_...) at a dpi.
int SystemMetric(int index, DpiScale scale);
// The outer size of a window whose client area has the given size, for its styles and dpi.
SIZE OuterSizeForClient(SIZE client, DWORD style, DWORD exStyle, DpiScale scale);

// Moves and sizes a control to its bounds at 96 dpi, scaled.
void Place(HWND control, RECT designBounds, DpiScale scale);
// The same, with the bounds at 96 dpi given as a place and a size.
void Place(HWND control, int left, int top, int width, int height, DpiScale scale);
// Sizes a window, in place, so that its client area has the size given at 96 dpi, scaled.
void ResizeClient(HWND window, SIZE designClient, DWORD style, DWORD exStyle, DpiScale scale);

// The new dpi and the suggested outer bounds that WM_DPICHANGED carries.
struct Change {
    DpiScale scale;
    RECT suggested;
};
Change ChangeOf(WPARAM wParam, LPARAM lParam);

}  // namespace kanaroll::dpi
