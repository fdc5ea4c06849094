#pragma once

#include <windows.h>

#include <commctrl.h>
#include <utility>

// Move-only owners of Win32 handles and scoped changes of GDI state: each undoes itself in its
// destructor, on every way out.
namespace kanaroll {

// A handle is held when it is not the traits' Invalid() value, unless the traits say more with an
// IsValid of their own.
template <typename Handle, typename Traits>
class UniqueResource {
public:
    UniqueResource() = default;
    explicit UniqueResource(Handle handle) : m_handle(handle) {}
    ~UniqueResource() { Reset(); }
    UniqueResource(UniqueResource&& other) noexcept
        : m_handle(std::exchange(other.m_handle, Traits::Invalid())) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            Reset();
            m_handle = std::exchange(other.m_handle, Traits::Invalid());
        }
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return IsValid(m_handle); }
    void Reset(Handle handle = Traits::Invalid()) {
        if (IsValid(m_handle)) Traits::Close(m_handle);
        m_handle = handle;
    }
    Handle Release() { return std::exchange(m_handle, Traits::Invalid()); }

private:
    static bool IsValid(Handle handle) {
        if constexpr (requires { Traits::IsValid(handle); }) {
            return Traits::IsValid(handle);
        } else {
            return handle != Traits::Invalid();
        }
    }

    Handle m_handle = Traits::Invalid();
};

// Kernel functions fail with either value: CreateFile and its kind with INVALID_HANDLE_VALUE, the
// others with null. Neither is closed.
struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static bool IsValid(HANDLE handle) { return handle && handle != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
using UniqueHandle = UniqueResource<HANDLE, KernelHandleTraits>;

template <typename T>
struct GdiObjectTraits {
    static T Invalid() { return nullptr; }
    static void Close(T object) { DeleteObject(object); }
};
template <typename T>
using GdiObject = UniqueResource<T, GdiObjectTraits<T>>;
using UniqueFont = GdiObject<HFONT>;
using UniquePen = GdiObject<HPEN>;
using UniqueBitmap = GdiObject<HBITMAP>;

struct DcTraits {
    static HDC Invalid() { return nullptr; }
    static void Close(HDC dc) { DeleteDC(dc); }
};
using UniqueMemoryDc = UniqueResource<HDC, DcTraits>;

struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON icon) { DestroyIcon(icon); }
};
using UniqueIcon = UniqueResource<HICON, IconTraits>;

struct ImageListTraits {
    static HIMAGELIST Invalid() { return nullptr; }
    static void Close(HIMAGELIST list) { ImageList_Destroy(list); }
};
using UniqueImageList = UniqueResource<HIMAGELIST, ImageListTraits>;

// A menu that no window holds, such as a popup menu; a window's own menu goes with the window.
struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU menu) { DestroyMenu(menu); }
};
using UniqueMenu = UniqueResource<HMENU, MenuTraits>;

// Selects an object into a device context and selects the previous one back at the end.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(m_dc, m_previous); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// Saves the whole state of a device context and restores it at the end.
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) : m_dc(dc), m_saved(SaveDC(dc)) {}
    ~SavedDcState() {
        if (m_saved) RestoreDC(m_dc, m_saved);
    }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;

private:
    HDC m_dc;
    int m_saved;
};

// A window's device context, released at the end.
class WindowDc {
public:
    explicit WindowDc(HWND window) : m_window(window), m_dc(GetDC(window)) {}
    ~WindowDc() { ReleaseDC(m_window, m_dc); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// Suspends a window's redrawing and resumes it (and repaints) at the end.
class SuspendedRedraw {
public:
    explicit SuspendedRedraw(HWND window) : m_window(window) { SendMessageW(window, WM_SETREDRAW, FALSE, 0); }
    ~SuspendedRedraw() {
        SendMessageW(m_window, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(m_window, nullptr, TRUE);
    }
    SuspendedRedraw(const SuspendedRedraw&) = delete;
    SuspendedRedraw& operator=(const SuspendedRedraw&) = delete;

private:
    HWND m_window;
};

}  // namespace kanaroll
