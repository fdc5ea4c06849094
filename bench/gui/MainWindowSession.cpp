#include "bench/gui/MainWindowSession.h"

#include <commctrl.h>

#include "bench/gui/Timing.h"
#include "mainwindow/ControlIds.h"
#include "platform/Controls.h"

namespace kanaroll::bench::gui {

MainWindowSession::MainWindowSession(const std::filesystem::path& programFolder) {
    m_application = std::make_unique<Application>(m_services);
    m_windows = std::make_unique<ProgramWindows>(*m_application, programFolder);
    Form().Show();
}

MainWindowSession::~MainWindowSession() {
    m_windows.reset();
    m_application.reset();
}

bool MainWindowSession::WaitUntilReady(DWORD timeoutMs) {
    const Stopwatch clock;
    for (;;) {
        m_application->ProcessMessages();
        const HWND list = Ui().ListView1;
        const bool loaded =
            listview::ItemCount(list) > 0 && listview::ItemCount(list) == Form().Games().Count();
        if (loaded && listview::SelectedItem(list) >= 0 && Form().State().currentIndex >= 0) {
            PaintNow();
            return true;
        }
        if (m_application->Terminated() || !m_services.messageBoxes.empty() ||
            clock.ElapsedMs() > timeoutMs) {
            return false;
        }
        // Nothing to do until a message arrives; a short wait keeps the loop from spinning.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

void MainWindowSession::Pump() {
    for (int round = 0; round < 5 && m_application; ++round) {
        m_application->ProcessMessages();
        if (m_application->Terminated()) return;
    }
}

void MainWindowSession::PaintNow() {
    RedrawWindow(Form().Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void MainWindowSession::ClickColumn(int column) {
    NMLISTVIEW click{};
    click.hdr.hwndFrom = Ui().ListView1;
    click.hdr.idFrom = ids::kListView1;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageW(Form().Handle(), WM_NOTIFY, ids::kListView1, reinterpret_cast<LPARAM>(&click));
    Pump();
}

void MainWindowSession::PressKey(HWND target, UINT virtualKey) {
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    PostMessageW(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | (3u << 30));
    Pump();
}

void MainWindowSession::TypeText(HWND target, std::wstring_view text) {
    for (wchar_t c : text) PostMessageW(target, WM_CHAR, c, 1);
    Pump();
}

void MainWindowSession::Focus(HWND control) {
    SetFocus(control);
    Pump();
}

std::wstring MainWindowSession::FirstMessageBox() const {
    if (m_services.messageBoxes.empty()) return {};
    const auto& box = m_services.messageBoxes.front();
    return box.caption + L": " + box.text;
}

}  // namespace kanaroll::bench::gui
