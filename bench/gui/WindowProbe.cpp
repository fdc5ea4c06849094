// Lets a script see what a running kanaroll.exe does, from another process under the same Wine
// server (or on Windows):
//
//   window_probe wait-ready [TIMEOUT_MS]   waits until the first game is selected; prints "ready"
//                                          and, under Wine, the X11 window of the main window
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
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: window_probe wait-ready|close [TIMEOUT_MS]\n");
        return 64;
    }
    const DWORD timeoutMs = argc == 3 ? static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)) : 30000;
    if (std::strcmp(argv[1], "wait-ready") == 0) return WaitReady(timeoutMs);
    if (std::strcmp(argv[1], "close") == 0) return Close(timeoutMs);
    std::fprintf(stderr, "window_probe: unknown command %s\n", argv[1]);
    return 64;
}
