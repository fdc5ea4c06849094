#include "mainwindow/TForm1.h"

#include <windowsx.h>

#include "catalogue/IoError.h"
#include "catalogue/ListInfoReader.h"
#include "catalogue/NameListReader.h"
#include "catalogue/SettingsFile.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/Resources.h"
#include "platform/Application.h"
#include "platform/Controls.h"
#include "platform/MameListXml.h"
#include "platform/ProgressWindow.h"
#include "platform/WideText.h"

namespace kanaroll {

namespace {
constexpr wchar_t kListInfoMissing[] =
    L"listinfo.txtが見つかりません。\r\n\r\n\"MAME -listinfo > listinfo.txt\"で作成して下さい。  ";
constexpr wchar_t kListInfoUnreadable[] = L"listinfo.txtからの読み込みに失敗しました";
}  // namespace

TForm1::TForm1(Application& application, std::filesystem::path exeDir)
    : m_application(application),
      m_services(application.GetServices()),
      m_journal(exeDir / kJournalFileName) {
    m_state.exeDir = std::move(exeDir);
    const DpiScale startScale = dpi::OfSystem();
    CreateWindowOf({.className = L"TForm1", .icon = LoadIconW(GetModuleHandleW(nullptr), KANAROLL_ICON_MAIN)},
                   WS_EX_CONTROLPARENT, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, L"Kanaroll 3", CW_USEDEFAULT,
                   CW_USEDEFAULT, startScale(kDesignSize.cx), startScale(kDesignSize.cy),
                   application.OwnerWindow());
    if (Handle() && !(m_scale == startScale)) {  // it opened on a monitor of another density
        SetWindowPos(Handle(), nullptr, 0, 0, m_scale(kDesignSize.cx), m_scale(kDesignSize.cy),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_application.AddDialogWindow(Handle());
    m_application.SetMainForm(Handle());
    // A question may stay open for hours, and a launched MAME may take the machine down.
    m_application.SetBeforeDialog([this] { FlushJournal(); });
}

TForm1::~TForm1() {
    m_application.SetBeforeDialog(nullptr);
    if (Handle()) {
        m_application.RemoveDialogWindow(Handle());
        DestroyWindow(Handle());  // runs FormDestroy while this object is still whole
    }
}

void TForm1::Show() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT bounds{};
    GetWindowRect(Handle(), &bounds);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    SetWindowPos(Handle(), nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(Handle(), SW_SHOWNORMAL);
    UpdateWindow(Handle());
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            // An error in FormCreate is reported, the rest of it is skipped, and the window stays:
            // the answer to an error is 0, which lets the creation go on.
            CreateControls();
            FormCreate();
            return 0;
        case WM_SHOWWINDOW:
            if (wParam && !m_shown) {
                m_shown = true;
                FormShow();
            }
            break;
        case kStartupLoadMessage:
            StartupLoad();
            return 0;
        case kJournalFailedMessage:
            ShowJournalFailure();
            return 0;
        case WM_QUERYENDSESSION:
            // Windows is shutting down and may end the program without closing it: the journal
            // goes on the disk, and the next start offers the edits back.
            FlushJournal();
            return TRUE;
        case kListXmlMessage:
            ListXmlNotified();
            return 0;
        case WM_TIMER:
            if (wParam != kFamilyIndexTimer) break;
            KillTimer(Handle(), kFamilyIndexTimer);
            m_families.BuildUnlessBuiltFor(m_games);
            return 0;
        case WM_SIZE:
            LayoutClient();
            return 0;
        case WM_GETMINMAXINFO:
            MinimumTrackSize(*reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(dpi::ChangeOf(wParam, lParam));
            return 0;
        case WM_CONTEXTMENU:
            OnContextMenu(reinterpret_cast<HWND>(wParam), lParam);
            return 0;
        case WM_CTLCOLORSTATIC: {
            // The read-only fields take the light 3-D colour (English title, video) or the
            // window's own colour (CPU, sound); labels stay on the window colour.
            const HWND control = reinterpret_cast<HWND>(lParam);
            const HDC dc = reinterpret_cast<HDC>(wParam);
            const int colour =
                (control == m_ui.Edit3 || control == m_ui.Edit4) ? COLOR_3DLIGHT : COLOR_BTNFACE;
            SetBkColor(dc, GetSysColor(colour));
            // A proposal is grey, as the reading field's cue: nothing of it is stored yet.
            SetTextColor(dc, GetSysColor(control == m_ui.TitleProposal ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(colour));
        }
        case WM_SETCURSOR:
            if (ApplyWaitCursor()) return TRUE;
            break;
        case WM_SYSCOMMAND:
            // Minimising the main window minimises the application window that owns it.
            if ((wParam & 0xFFF0) == SC_MINIMIZE) {
                m_application.Minimize();
                return 0;
            }
            break;
        case WM_CLOSE:
            if (FormClose()) m_application.Terminate();
            return 0;
        case WM_DESTROY:
            // An error is reported and the window is destroyed all the same.
            FormDestroy();
            return 0;
        default:
            break;
    }
    return DefaultHandling(message, wParam, lParam);
}

void TForm1::FormCreate() {
    m_state.sort.sortColumn = -1;
    InstallHeaderHooks();
    InstallFieldHooks();
    // The settings come before everything that uses the MAME path or the rules.
    try {
        LoadSettings(m_state.exeDir / "kanaroll.ini", m_state.mamePath, m_state.replaceRules,
                     [this](const std::string& stored) {
                         return m_services.FileExists(kanaroll::ToWide(stored, ShiftJisCodec().CodePage()));
                     });
    } catch (const IoError& error) {
        // A settings file that cannot be read is reported and then left alone: writing it over at
        // the end would replace the user's rules with whatever was read before the failure.
        m_keepSettingsFile = true;
        ReportError(error);
    }
    if (m_state.replaceRules.empty()) m_state.replaceRules = DefaultReplaceRules(*m_codec);
    m_groupBox1->SetTitle(L"", m_boldFont.Get());
    for (HWND field : {m_ui.Edit3, m_ui.Memo1, m_ui.Memo2, m_ui.Edit4}) edit::FillText(field, L"");
    m_state.currentIndex = -1;
    m_state.familyKey.clear();
    m_state.translatedCount = 0;
    m_state.modified = false;
    m_families.Clear();
    m_games.Clear();
}

void TForm1::FormShow() {
    PostMessageW(Handle(), kStartupLoadMessage, 0, 0);
}

void TForm1::StartupLoad() {
    const auto listInfo = m_state.exeDir / "listinfo.txt";
    if (!m_services.FileExists(listInfo.wstring())) {
        if (MameKnown()) {
            if (!OfferListInfoFromMame()) m_application.Terminate();
            return;  // the load goes on once MAME has made the file
        }
        m_services.ShowMessageBox(Handle(), kListInfoMissing, L"エラー", MB_OK | MB_ICONERROR);
        m_application.Terminate();
        return;
    }
    const auto nameList = ChooseNameList(m_state.exeDir);
    ChooseCodec(nameList ? &*nameList : nullptr);
    if (!ReadListInfo(listInfo, m_games, *this, *m_codec)) {
        m_services.ShowMessageBox(Handle(), kListInfoUnreadable, L"エラー", MB_OK | MB_ICONERROR);
        m_application.Terminate();
        return;
    }
    if (nameList) m_nameList = ReadNameList(*nameList, m_games, m_state.translatedCount, *this, *m_codec);
    // Before any sort, while the games stand in the order the journal addresses them by.
    const int restoredGame = OpenJournal(nameList ? nameList->file : std::filesystem::path());

    WaitCursor wait;
    SetStatus(0, L"前処理中...");
    ProcessPendingMessages();
    LearnProposals();
    listview::SetVirtualItemCount(m_ui.ListView1, m_games.Count());
    for (HWND control :
         {m_ui.RadioButton1, m_ui.RadioButton2, m_ui.RadioButton3, m_ui.BitBtn1, m_ui.Button1, m_ui.Button2,
          m_ui.Button3, m_ui.Edit1, m_ui.Edit2, m_ui.Edit3, m_ui.ListView1, m_ui.ListView2}) {
        window::Enable(control, true);
    }
    m_menuAttached = true;
    ShowTotals();
    if (!m_games.Empty()) {
        const int row = restoredGame >= 0 ? restoredGame : 0;
        listview::SelectAndFocus(m_ui.ListView1, row);
        listview::EnsureVisible(m_ui.ListView1, row);
        SetFocus(m_ui.ListView1);
    }
}

bool TForm1::FormClose() {
    if (m_state.modified) {
        const int answer = m_services.ShowMessageBox(Handle(), L"変更をmame32j.lstに保存しますか?", L"確認",
                                                     MB_YESNOCANCEL | MB_ICONWARNING);
        if (answer == IDYES) {
            // A failure goes to the error box and keeps the window, and the journal, as they are.
            WriteMame32J(m_state.exeDir / "mame32j.lst");
        } else if (answer != IDNO) {
            return false;
        }
    }
    // The user ends the program on purpose: nothing is left to recover.
    EndJournal();
    return true;
}

void TForm1::FormDestroy() {
    m_proposals.reset();  // it points into the catalogue
    m_families.Clear();
    m_games.Clear();
    if (!m_keepSettingsFile) WriteSettings();
}

void TForm1::SetStatusText(int panel, std::string_view utf8) {
    SetStatus(panel, Utf8ToWide(utf8));
}

void TForm1::SetStatus(int panel, std::wstring_view text) {
    statusbar::SetText(m_ui.StatusBar1, panel, text);
}

void TForm1::ShowTotals() {
    const int count = m_games.Count();
    SetStatus(0, L"合計：" + std::to_wstring(count) + L"件   未訳：" +
                     std::to_wstring(count - m_state.translatedCount) + L"件");
}

void TForm1::ProcessPendingMessages() {
    m_application.ProcessMessages();
}

void TForm1::BeginWaitCursor() {
    m_waitCursors.push_back(std::make_unique<WaitCursor>());
}

void TForm1::EndWaitCursor() {
    if (!m_waitCursors.empty()) m_waitCursors.pop_back();
}

void TForm1::OnCommand(int id, int code, HWND control) {
    if (!control) {  // a menu item
        switch (id) {
            case ids::kPopExecute:
                PopExecuteClick();
                return;
            case ids::kMAME1:
                MAME1Click();
                return;
            case ids::kN1:
                N1Click();
                return;
            case ids::kN3:
                N3Click();
                return;
            case ids::kAbout:
                AboutClick();
                return;
            case ids::kRemakeCatalogue:
                RemakeCatalogueClick();
                return;
            case ids::kTakeProposal:
                TakeProposal(ProposalPart::Both);
                return;
            case ids::kNextUntranslated:
            case ids::kPreviousUntranslated:
                GoToUntranslated(id == ids::kNextUntranslated);
                return;
            default:
                return;
        }
    }
    switch (id) {
        case ids::kEdit1:
            if (code == EN_CHANGE) Edit1Change();
            if (code == EN_SETFOCUS) Edit1Enter();
            if (code == EN_KILLFOCUS) Edit1Exit();
            return;
        case ids::kEdit2:
            if (code == EN_CHANGE) Edit2Change();
            return;
        case ids::kButton1:
            if (code == BN_CLICKED) Button1Click();
            return;
        case ids::kButton2:
            if (code == BN_CLICKED) Button2Click();
            return;
        case ids::kButton3:
            if (code == BN_CLICKED) Button3Click();
            return;
        case ids::kBitBtn1:
            if (code == BN_CLICKED) BitBtn1Click();
            return;
        default:
            return;
    }
}

LRESULT TForm1::OnNotify(NMHDR& header) {
    if (header.hwndFrom == m_ui.ListView1) {
        switch (header.code) {
            case LVN_GETDISPINFOW:
                ListView1Data(*reinterpret_cast<NMLVDISPINFOW*>(&header));
                return 0;
            case LVN_ODFINDITEMW:
                return ListView1DataFind(*reinterpret_cast<const NMLVFINDITEMW*>(&header));
            case LVN_COLUMNCLICK:
                ListView1ColumnClick(reinterpret_cast<const NMLISTVIEW*>(&header)->iSubItem);
                return 0;
            case LVN_ITEMCHANGED:
                if (const auto change = listview::SelectionChangeOf(header))
                    ListView1SelectItem(change->item, change->selected);
                return 0;
            case NM_DBLCLK:
                PopExecuteClick();
                return 0;
            default:
                return 0;
        }
    }
    if (header.hwndFrom == m_ui.ListView2) {
        switch (header.code) {
            case LVN_ITEMCHANGED:
                if (const auto change = listview::SelectionChangeOf(header))
                    ListView2SelectItem(change->item, change->selected);
                return 0;
            case NM_DBLCLK:
                PopExecuteClick();
                return 0;
            default:
                return 0;
        }
    }
    return 0;
}

void TForm1::OnContextMenu(HWND control, LPARAM position) {
    if (!m_menuAttached || (control != m_ui.ListView1 && control != m_ui.ListView2)) return;
    POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (position == -1) {  // from the keyboard: below the focused row, or at the list's corner
        const int focused = listview::FocusedItem(control);
        const RECT row = focused < 0 ? RECT{} : listview::ItemRect(control, focused).value_or(RECT{});
        point = {row.left + m_scale(8), row.bottom};
        ClientToScreen(control, &point);
    }
    EnableMenuItem(m_ui.PopupMenu1, ids::kRemakeCatalogue,
                   MF_BYCOMMAND | (m_state.mamePath.empty() ? MF_GRAYED : MF_ENABLED));
    TrackPopupMenu(m_ui.PopupMenu1, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, Handle(), nullptr);
}

std::wstring TForm1::ToWide(std::string_view text) const {
    return kanaroll::ToWide(text, m_codec->CodePage());
}

std::string TForm1::FromWide(std::wstring_view text) const {
    return kanaroll::FromWide(text, m_codec->CodePage());
}

}  // namespace kanaroll
