#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace kanaroll {

struct FileDialogFilter {
    std::wstring label;
    std::wstring pattern;  // empty: the entry has no pattern of its own
};

struct FileDialogRequest {
    std::wstring title;
    std::wstring defaultName;
    std::vector<FileDialogFilter> filters;
    bool forSaving = false;  // save dialogs ask before overwriting and hide the read-only box
};

// Everything modal or external that the windows use: tests replace it, the program uses the real
// calls (Win32Services).
class Services {
public:
    virtual ~Services() = default;

    // MessageBoxW: returns the button chosen (IDOK, IDYES, ...).
    virtual int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                               UINT type) = 0;
    // The common open or save dialog; the chosen path, or nothing when cancelled.
    virtual std::optional<std::wstring> ShowFileDialog(HWND owner, const FileDialogRequest& request) = 0;
    // ShellExecuteW with the verb "open" and SW_SHOWDEFAULT; does not wait.
    virtual void OpenWithShell(HWND owner, const std::wstring& file, const std::wstring& parameters,
                               const std::wstring& directory) = 0;
    // The default beep.
    virtual void Beep() = 0;
    // True only for an existing file, not a folder.
    virtual bool FileExists(const std::wstring& path) = 0;
};

class Win32Services final : public Services {
public:
    int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) override;
    std::optional<std::wstring> ShowFileDialog(HWND owner, const FileDialogRequest& request) override;
    void OpenWithShell(HWND owner, const std::wstring& file, const std::wstring& parameters,
                       const std::wstring& directory) override;
    void Beep() override;
    bool FileExists(const std::wstring& path) override;
};

}  // namespace kanaroll
