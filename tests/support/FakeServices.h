#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
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

    int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                       UINT type) override {
        messageBoxes.push_back({owner, text, caption, type});
        if (whileMessageBoxUp) whileMessageBoxUp();
        if (!messageBoxAnswers.empty()) {
            const int answer = messageBoxAnswers.front();
            messageBoxAnswers.pop_front();
            return answer;
        }
        const UINT buttons = type & MB_TYPEMASK;
        return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDNO : IDOK;
    }

    std::optional<std::wstring> ShowFileDialog(HWND, const FileDialogRequest& request) override {
        fileDialogs.push_back(request);
        if (fileDialogAnswers.empty()) return std::nullopt;
        auto answer = fileDialogAnswers.front();
        fileDialogAnswers.pop_front();
        return answer;
    }

    void OpenWithShell(HWND owner, const std::wstring& file, const std::wstring& parameters,
                       const std::wstring& directory) override {
        launches.push_back({owner, file, parameters, directory});
    }

    void Beep() override { ++beeps; }

    bool FileExists(const std::wstring& path) override { return m_real.FileExists(path); }

private:
    Win32Services m_real;
};

}  // namespace kanaroll::testing
