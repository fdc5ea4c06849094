#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Services.h"

namespace kanaroll::testing {

// Records every modal and external call the windows make and answers them from scripts.
class FakeServices final : public Services {
public:
    struct MessageBoxCall {
        HWND owner;
        std::wstring text;
        std::wstring caption;
        UINT type;
        bool answeredOnScreen = false;  // with realMessageBoxes: the box was up until the test answered
    };
    struct Launch {
        HWND owner;
        std::wstring file;
        std::wstring parameters;
        std::wstring directory;
    };

    // Answers, used in order; when they run out a message box answers IDOK (IDNO for Yes/No
    // boxes) and a file dialog is cancelled.
    std::deque<int> messageBoxAnswers;
    std::deque<std::optional<std::wstring>> fileDialogAnswers;

    std::vector<MessageBoxCall> messageBoxes;
    std::vector<FileDialogRequest> fileDialogs;
    std::vector<Launch> launches;
    int beeps = 0;
    // Runs inside every message box, as the handlers that run while a real one is up.
    std::function<void()> whileMessageBoxUp;
    // Shows the real boxes, each answered with its scripted answer from a timer of the box's own
    // message loop once the box is on the screen: a box whose loop ends by itself is never answered.
    bool realMessageBoxes = false;
    // Puts a window up in each file dialog's place, modal as the common dialog is: its owner is
    // disabled, which takes the focus away, while that window is the active one, and the owner is
    // activated again once it closes.
    bool modalFileDialogs = false;
    // Runs as each message box, file dialog and shell launch begins.
    std::function<void()> onDialog;

    int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                       UINT type) override {
        if (onDialog) onDialog();
        messageBoxes.push_back({owner, text, caption, type});
        if (whileMessageBoxUp) whileMessageBoxUp();
        int answer = 0;
        if (!messageBoxAnswers.empty()) {
            answer = messageBoxAnswers.front();
            messageBoxAnswers.pop_front();
        } else {
            const UINT buttons = type & MB_TYPEMASK;
            answer = buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDNO : IDOK;
        }
        if (!realMessageBoxes) return answer;
        s_pendingAnswer = {this, messageBoxes.size() - 1, answer};
        const UINT_PTR timer = SetTimer(nullptr, 0, kAnswerDelayMs, &AnswerShownBox);
        const int shown = MessageBoxW(owner, text.c_str(), caption.c_str(), type);
        KillTimer(nullptr, timer);
        s_pendingAnswer = {nullptr, 0, 0};
        return shown;
    }

    std::optional<std::wstring> ShowFileDialog(HWND owner, const FileDialogRequest& request) override {
        if (onDialog) onDialog();
        fileDialogs.push_back(request);
        if (modalFileDialogs) StandInForModalDialog(owner);
        if (fileDialogAnswers.empty()) return std::nullopt;
        auto answer = fileDialogAnswers.front();
        fileDialogAnswers.pop_front();
        return answer;
    }

    void OpenWithShell(HWND owner, const std::wstring& file, const std::wstring& parameters,
                       const std::wstring& directory) override {
        if (onDialog) onDialog();
        launches.push_back({owner, file, parameters, directory});
    }

    void Beep() override { ++beeps; }

    bool FileExists(const std::wstring& path) override { return m_real.FileExists(path); }

private:
    static constexpr UINT kAnswerDelayMs = 100;
    struct PendingAnswer {
        FakeServices* services;
        std::size_t call;
        int answer;
    };
    static inline PendingAnswer s_pendingAnswer{nullptr, 0, 0};

    static void StandInForModalDialog(HWND owner) {
        EnableWindow(owner, FALSE);
        const HWND dialog = CreateWindowExW(WS_EX_DLGMODALFRAME, L"STATIC", L"", WS_POPUP | WS_CAPTION, 0, 0,
                                            300, 200, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
        ShowWindow(dialog, SW_SHOW);
        EnableWindow(owner, TRUE);
        DestroyWindow(dialog);
    }

    // The visible message box of this thread, if one is up.
    static HWND ShownBox() {
        HWND found = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM result) -> BOOL {
                wchar_t className[16] = {};
                GetClassNameW(window, className, 16);
                if (std::wstring_view(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }

    static void CALLBACK AnswerShownBox(HWND, UINT, UINT_PTR timer, DWORD) {
        const HWND box = ShownBox();
        if (!box || !s_pendingAnswer.services) return;  // not on the screen yet
        KillTimer(nullptr, timer);
        s_pendingAnswer.services->messageBoxes[s_pendingAnswer.call].answeredOnScreen = true;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(s_pendingAnswer.answer, BN_CLICKED), 0);
    }

    Win32Services m_real;
};

}  // namespace kanaroll::testing
