#include "bench/gui/MainWindowWatch.h"

#include <commctrl.h>
#include <vector>

#include "mainwindow/ControlIds.h"

namespace kanaroll::bench::gui {

namespace {

constexpr UINT kAnswerTimeoutMs = 200;
constexpr DWORD kPollMs = 5;

std::wstring ClassName(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// WM_GETTEXT crosses processes (the system copies the text); a hung window gives no text.
std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &copied)) {
        return {};
    }
    text.resize(copied);
    return text;
}

struct TopLevelSearch {
    DWORD processId;
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<TopLevelSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((search.processId == 0 || owner == search.processId) && ClassName(window) == search.className) {
        search.found.push_back(window);
    }
    return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className) {
    TopLevelSearch search{processId, className, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectTexts(HWND child, LPARAM context) {
    auto& texts = *reinterpret_cast<std::wstring*>(context);
    if (ClassName(child) == L"Static" && IsWindowVisible(child)) {
        if (std::wstring text = TextOf(child); !text.empty()) texts += L"\n" + text;
    }
    return TRUE;
}

}  // namespace

HWND FindMainWindow(DWORD processId) {
    const auto windows = TopLevelWindows(processId, L"TForm1");
    return windows.empty() ? nullptr : windows.front();
}

bool FirstGameSelected(HWND mainWindow) {
    const HWND list = GetDlgItem(mainWindow, ids::kListView1);
    if (!list) return false;
    DWORD_PTR rows = 0;
    DWORD_PTR selected = 0;
    if (!SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &rows) ||
        rows == 0) {
        return false;
    }
    if (!SendMessageTimeoutW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0),
                             SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &selected)) {
        return false;
    }
    return static_cast<int>(selected) >= 0;
}

std::optional<std::wstring> MessageBoxText(DWORD processId) {
    for (HWND box : TopLevelWindows(processId, L"#32770")) {
        if (!IsWindowVisible(box)) continue;
        std::wstring text = TextOf(box);
        EnumChildWindows(box, CollectTexts, reinterpret_cast<LPARAM>(&text));
        return text;
    }
    return std::nullopt;
}

HWND FindVisibleWindow(DWORD processId, const wchar_t* className) {
    for (HWND window : TopLevelWindows(processId, className)) {
        if (IsWindowVisible(window)) return window;
    }
    return nullptr;
}

namespace {
struct ControlSearch {
    int id;
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK FindControl(HWND child, LPARAM context) {
    auto& search = *reinterpret_cast<ControlSearch*>(context);
    if (search.caption ? TextOf(child) == search.caption : GetDlgCtrlID(child) == search.id) {
        search.found = child;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

bool ClickControl(HWND window, int id, const wchar_t* caption) {
    ControlSearch search{id, caption, nullptr};
    EnumChildWindows(window, FindControl, reinterpret_cast<LPARAM>(&search));
    return search.found && PostMessageW(search.found, BM_CLICK, 0, 0);
}

bool CloseMainWindow(HWND mainWindow, DWORD timeoutMs) {
    if (!IsWindow(mainWindow)) return true;
    PostMessageW(mainWindow, WM_CLOSE, 0, 0);
    const DWORD start = GetTickCount();
    while (IsWindow(mainWindow)) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

StartedProgram::StartedProgram(const std::filesystem::path& exe) {
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    const std::wstring folder = exe.parent_path().wstring();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(exe.wstring().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        return;
    }
    CloseHandle(process.hThread);
    m_process = process.hProcess;
    m_processId = process.dwProcessId;
}

StartedProgram::~StartedProgram() {
    if (!m_process) return;
    if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_process, 1);
        WaitForSingleObject(m_process, 5000);
    }
    CloseHandle(m_process);
}

HWND StartedProgram::WaitUntilReady(DWORD timeoutMs, std::wstring& problem) {
    if (!m_process) {
        problem = L"the program could not be started";
        return nullptr;
    }
    const DWORD start = GetTickCount();
    for (;;) {
        if (!m_mainWindow) m_mainWindow = FindMainWindow(m_processId);
        if (m_mainWindow && FirstGameSelected(m_mainWindow)) return m_mainWindow;
        if (auto box = MessageBoxText(m_processId)) {
            problem = L"the program shows a message box: " + *box;
            return nullptr;
        }
        if (WaitForSingleObject(m_process, kPollMs) == WAIT_OBJECT_0) {
            problem = L"the program ended before its first game was selected";
            return nullptr;
        }
        if (GetTickCount() - start > timeoutMs) {
            problem = L"no game was selected in time";
            return nullptr;
        }
    }
}

bool StartedProgram::Close(DWORD timeoutMs) {
    if (!m_process) return false;
    if (!m_mainWindow) m_mainWindow = FindMainWindow(m_processId);
    if (m_mainWindow) PostMessageW(m_mainWindow, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(m_process, timeoutMs) == WAIT_OBJECT_0) return true;
    TerminateProcess(m_process, 1);
    WaitForSingleObject(m_process, 5000);
    return false;
}

}  // namespace kanaroll::bench::gui
