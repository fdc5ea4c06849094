#pragma once

#include <windows.h>

#include <commctrl.h>
#include <vector>

// Acting on the game list's header as a person does, and reading back what it shows.
namespace kanaroll::testing {

inline RECT HeaderItemRect(HWND header, int column) {
    RECT rect{};
    SendMessageW(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

inline LPARAM HeaderItemCentre(HWND header, int column) {
    const RECT rect = HeaderItemRect(header, column);
    return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

// The mouse button goes down on the column's header item (the header captures the mouse).
inline void PressHeader(HWND header, int column) {
    PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, HeaderItemCentre(header, column));
}

// ... and comes up again: the header reports the click, then releases the capture.
inline void ReleaseHeader(HWND header, int column) {
    PostMessageW(header, WM_LBUTTONUP, 0, HeaderItemCentre(header, column));
}

inline int HeaderFormat(HWND header, int column) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
    return item.fmt;
}

// The pixels of a window's client area as the window paints them (WM_PRINTCLIENT) into a memory
// device context; `extraWidth` black columns on the right show what is painted beyond the area.
class ClientPixels {
public:
    explicit ClientPixels(HWND window, int extraWidth = 0) {
        RECT client{};
        GetClientRect(window, &client);
        m_width = client.right + extraWidth;
        m_height = client.bottom;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = m_width;
        info.bmiHeader.biHeight = -m_height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        const HDC screen = GetDC(nullptr);
        const HDC dc = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        void* bits = nullptr;
        const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HGDIOBJ previous = SelectObject(dc, bitmap);
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
        GdiFlush();
        const auto* pixels = static_cast<const DWORD*>(bits);
        m_pixels.assign(pixels, pixels + static_cast<std::size_t>(m_width) * m_height);
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }

    // The colour at a point, or CLR_INVALID outside.
    COLORREF At(int x, int y) const {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
        const DWORD pixel = m_pixels[static_cast<std::size_t>(y) * m_width + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<DWORD> m_pixels;
};

}  // namespace kanaroll::testing
