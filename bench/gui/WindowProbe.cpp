// Lets a script see what a running kanaroll.exe does, from another process under the same Wine
// server (or on Windows):
//
//   window_probe wait-ready [TIMEOUT_MS]   waits until the first game is selected; prints "ready"
//                                          and, under Wine, the X11 window of the main window
//   window_probe show replace|editor [TIMEOUT_MS]
//                                          opens the replace dialog (its button in the main
//                                          window), or the condition editor over it (新規条件);
//                                          prints "shown" and, under Wine, the dialog's X11 window
//   window_probe hide [TIMEOUT_MS]         closes the editor and the replace dialog (閉じる)
//   window_probe close [TIMEOUT_MS]        closes the main window as its close button does
//
// Exit status: 0 done, 2 timed out, 3 the program shows a message box (its text is printed).
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/gui/MainWindowWatch.h"
#include "mainwindow/ControlIds.h"

namespace {

using namespace kanaroll::bench::gui;

void PrintUtf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int WaitReady(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const HWND form = FindMainWindow(0);
        if (form && FirstGameSelected(form)) {
            // Wine keeps the X11 window of a top-level window in this property.
            const auto x11 = reinterpret_cast<std::uintptr_t>(GetPropW(form, L"__wine_x11_whole_window"));
            if (x11) {
                std::printf("ready x11-window 0x%llx\n", static_cast<unsigned long long>(x11));
            } else {
                std::printf("ready\n");
            }
            std::fflush(stdout);
            return 0;
        }
        if (auto box = MessageBoxText(0)) {
            PrintUtf8(L"message box:" + *box);
            return 3;
        }
        if (GetTickCount() - start > timeoutMs) {
            std::printf(form ? "timeout: the main window is up but no game is selected\n"
                             : "timeout: no main window\n");
            return 2;
        }
        Sleep(20);
    }
}

// Waits until a window of the class is visible, then prints it as WaitReady does.
int WaitShown(const wchar_t* className, DWORD start, DWORD timeoutMs) {
    for (;;) {
        if (const HWND window = FindVisibleWindow(0, className)) {
            const auto x11 = reinterpret_cast<std::uintptr_t>(GetPropW(window, L"__wine_x11_whole_window"));
            std::printf(x11 ? "shown x11-window 0x%llx\n" : "shown\n", static_cast<unsigned long long>(x11));
            std::fflush(stdout);
            return 0;
        }
        if (GetTickCount() - start > timeoutMs) {
            std::printf("timeout: the dialog did not show\n");
            return 2;
        }
        Sleep(20);
    }
}

int Show(const char* which, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    const bool editor = std::strcmp(which, "editor") == 0;
    if (!editor && std::strcmp(which, "replace") != 0) {
        std::fprintf(stderr, "window_probe: show replace or show editor\n");
        return 64;
    }
    const HWND form = FindMainWindow(0);
    if (!form || !FirstGameSelected(form)) {
        std::printf("timeout: the main window is not ready\n");
        return 2;
    }
    if (!FindVisibleWindow(0, L"TForm2")) {
        if (!ClickControl(form, kanaroll::ids::kButton3)) return 2;
        if (const int status = WaitShown(L"TForm2", start, timeoutMs); status != 0 || !editor) return status;
    } else if (!editor) {
        return WaitShown(L"TForm2", start, timeoutMs);
    }
    if (!ClickControl(FindVisibleWindow(0, L"TForm2"), 0, L"新規条件(&A)...")) return 2;
    return WaitShown(L"TForm3", start, timeoutMs);
}

int Hide(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (const wchar_t* className : {L"TForm3", L"TForm2"}) {
        const HWND dialog = FindVisibleWindow(0, className);
        if (!dialog) continue;
        ClickControl(dialog, IDCANCEL);
        while (IsWindowVisible(dialog)) {
            if (GetTickCount() - start > timeoutMs) {
                std::printf("timeout: a dialog is still open\n");
                return 2;
            }
            Sleep(20);
        }
    }
    return 0;
}

int Close(DWORD timeoutMs) {
    const HWND form = FindMainWindow(0);
    if (!form) return 0;
    if (CloseMainWindow(form, timeoutMs)) return 0;
    if (auto box = MessageBoxText(0)) {
        PrintUtf8(L"message box:" + *box);
        return 3;
    }
    std::printf("timeout: the main window is still open\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const bool show = argc >= 3 && std::strcmp(argv[1], "show") == 0;
    const int timeoutArgument = show ? 3 : 2;
    if (argc < 2 || argc > timeoutArgument + 1) {
        std::fprintf(stderr,
                     "usage: window_probe wait-ready|show replace|show editor|hide|close [TIMEOUT_MS]\n");
        return 64;
    }
    const DWORD timeoutMs = argc == timeoutArgument + 1
                                ? static_cast<DWORD>(std::strtoul(argv[timeoutArgument], nullptr, 10))
                                : 30000;
    if (std::strcmp(argv[1], "wait-ready") == 0) return WaitReady(timeoutMs);
    if (show) return Show(argv[2], timeoutMs);
    if (std::strcmp(argv[1], "hide") == 0) return Hide(timeoutMs);
    if (std::strcmp(argv[1], "close") == 0) return Close(timeoutMs);
    std::fprintf(stderr, "window_probe: unknown command %s\n", argv[1]);
    return 64;
}
