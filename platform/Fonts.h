#pragma once

#include "platform/DpiScale.h"
#include "platform/Handles.h"

namespace kanaroll {

// The font of every window: "ＭＳ Ｐゴシック", 12 pixels at 96 dpi, Shift-JIS character set (the
// platform substitutes its own where the face is missing).
UniqueFont CreateUiFont(DpiScale scale, bool bold = false);

// Sets a font on a window and, with `children`, on every child window below it.
void ApplyFont(HWND window, HFONT font, bool children = true);

}  // namespace kanaroll
