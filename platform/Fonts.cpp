#include "platform/Fonts.h"

namespace kanaroll {

UniqueFont CreateUiFont(DpiScale scale, bool bold) {
    return UniqueFont(CreateFontW(-scale(12), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                  SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, L"ＭＳ Ｐゴシック"));
}

void ApplyFont(HWND window, HFONT font, bool children) {
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!children) return;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM value) -> BOOL {
            SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(value), FALSE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(font));
}

}  // namespace kanaroll
