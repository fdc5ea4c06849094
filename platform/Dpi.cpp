#include "platform/Dpi.h"

namespace kanaroll::dpi {

namespace {

template <typename Function>
Function User32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                  : nullptr;
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForSystemFunction = UINT(WINAPI*)();
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return value;
}

}  // namespace

DpiScale OfWindow(HWND window) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (const UINT value = getDpiForWindow(window)) return DpiScale(static_cast<int>(value));
    }
    return DpiScale(ScreenDpi());
}

DpiScale OfSystem() {
    static const auto getDpiForSystem = User32Function<GetDpiForSystemFunction>("GetDpiForSystem");
    if (getDpiForSystem) return DpiScale(static_cast<int>(getDpiForSystem()));
    return DpiScale(ScreenDpi());
}

RECT Scale(DpiScale scale, RECT designBounds) {
    return {scale(designBounds.left), scale(designBounds.top), scale(designBounds.right),
            scale(designBounds.bottom)};
}

SIZE Scale(DpiScale scale, SIZE designSize) {
    return {scale(designSize.cx), scale(designSize.cy)};
}

POINT Scale(DpiScale scale, POINT designPoint) {
    return {scale(designPoint.x), scale(designPoint.y)};
}

int SystemMetric(int index, DpiScale scale) {
    static const auto forDpi = User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, static_cast<UINT>(scale.Dpi()));
    return GetSystemMetrics(index);
}

SIZE OuterSizeForClient(SIZE client, DWORD style, DWORD exStyle, DpiScale scale) {
    static const auto forDpi = User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    RECT bounds{0, 0, client.cx, client.cy};
    if (!forDpi || !forDpi(&bounds, style, FALSE, exStyle, static_cast<UINT>(scale.Dpi()))) {
        bounds = {0, 0, client.cx, client.cy};
        AdjustWindowRectEx(&bounds, style, FALSE, exStyle);
    }
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

void Place(HWND control, RECT designBounds, DpiScale scale) {
    const RECT bounds = Scale(scale, designBounds);
    SetWindowPos(control, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Place(HWND control, int left, int top, int width, int height, DpiScale scale) {
    Place(control, RECT{left, top, left + width, top + height}, scale);
}

void ResizeClient(HWND window, SIZE designClient, DWORD style, DWORD exStyle, DpiScale scale) {
    const SIZE outer = OuterSizeForClient(Scale(scale, designClient), style, exStyle, scale);
    SetWindowPos(window, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Change ChangeOf(WPARAM wParam, LPARAM lParam) {
    return {DpiScale(LOWORD(wParam)), *reinterpret_cast<const RECT*>(lParam)};
}

}  // namespace kanaroll::dpi
