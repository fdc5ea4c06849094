#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

#include "platform/Services.h"

namespace kanaroll {

int Win32Services::ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                                  UINT type) {
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

std::optional<std::wstring> Win32Services::ShowFileDialog(HWND owner, const FileDialogRequest& request) {
    // The filter is label NUL pattern NUL ... NUL NUL; an entry without a pattern of its own lists
    // every file.
    std::wstring filter;
    for (const auto& entry : request.filters) {
        filter += entry.label;
        filter += L'\0';
        filter += entry.pattern.empty() ? L"*.*" : entry.pattern;
        filter += L'\0';
    }
    filter += L'\0';

    std::wstring file = request.defaultName;
    file.resize(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = request.filters.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = request.title.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (request.forSaving) {
        dialog.Flags |= OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
        if (!GetSaveFileNameW(&dialog)) return std::nullopt;
    } else {
        if (!GetOpenFileNameW(&dialog)) return std::nullopt;
    }
    file.resize(wcslen(file.c_str()));
    return file;
}

void Win32Services::OpenWithShell(HWND owner, const std::wstring& file, const std::wstring& parameters,
                                  const std::wstring& directory) {
    ShellExecuteW(owner, L"open", file.c_str(), parameters.c_str(), directory.c_str(), SW_SHOWDEFAULT);
}

void Win32Services::Beep() {
    MessageBeep(MB_OK);
}

bool Win32Services::FileExists(const std::wstring& path) {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace kanaroll
