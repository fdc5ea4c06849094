#include "replace/TForm2.h"

#include <commctrl.h>
#include <iterator>
#include <string>

#include "platform/Application.h"
#include "platform/Controls.h"
#include "platform/Dpi.h"
#include "platform/Fonts.h"
#include "platform/WideText.h"
#include "replace/TForm3.h"

namespace kanaroll {

namespace {

// Sizes at 96 dpi, scaled by the dialog's dpi.
constexpr SIZE kClientSize{501, 265};
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// The default and cancel buttons carry the ids the dialog manager sends for Enter and Esc.
constexpr int kButton5 = IDOK;
constexpr int kBitBtn1 = IDCANCEL;
constexpr int kLabel1 = 100;
constexpr int kListView1 = 101;
constexpr int kButton2 = 102;
constexpr int kButton3 = 103;
constexpr int kButton4 = 104;

constexpr wchar_t kInParenthesesMark[] = L"○";
constexpr wchar_t kWholeTitleMark[] = L" ";

constexpr POINT kOffsetFromOpener{100, 50};

constexpr struct {
    const wchar_t* caption;
    int width;
    int format;
} kColumns[] = {{L"検索文字列", 140, LVCFMT_LEFT},
                {L"置換後文字列", 140, LVCFMT_LEFT},
                {L"括弧内のみ", 80, LVCFMT_CENTER}};

}  // namespace

TForm2::TForm2(Application& application, ReplaceHost& host) : m_application(application), m_host(host) {
    const DpiScale startScale = dpi::OfSystem();
    const SIZE outer =
        dpi::OuterSizeForClient(dpi::Scale(startScale, kClientSize), kStyle, kExStyle, startScale);
    CreateWindowOf({.className = L"TForm2"}, kExStyle, kStyle, L"置換", 0, 0, outer.cx, outer.cy,
                   application.OwnerWindow());
    m_application.AddDialogWindow(Handle());
}

TForm2::~TForm2() {
    if (Handle()) {
        m_application.RemoveDialogWindow(Handle());
        DestroyWindow(Handle());
    }
}

ReplaceRuleList& TForm2::Rules() {
    return m_host.ReplaceRules();
}

const TextCodec& TForm2::Codec() const {
    return m_host.Codec();
}

void TForm2::ShowBeside(HWND window) {
    m_application.BeforeDialog();
    if (!IsWindowVisible(Handle())) {
        RECT bounds{};
        GetWindowRect(window, &bounds);
        const POINT offset = dpi::Scale(m_scale, kOffsetFromOpener);
        SetWindowPos(Handle(), nullptr, bounds.left + offset.x, bounds.top + offset.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(Handle(), SW_SHOW);
    BringWindowToTop(Handle());
}

LRESULT TForm2::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            // An error while listing the rules is reported and the dialog still exists.
            CreateControls();
            FormCreate();
            return 0;
        case WM_SHOWWINDOW:
            // Only a showing by the program counts, not the return of a window hidden together
            // with its minimised owner.
            if (wParam && lParam == 0) FormShow();
            break;
        case WM_ACTIVATE:
            m_focus.OnActivate(Handle(), wParam);
            return 0;
        case WM_SETFOCUS:
            m_focus.Restore(Handle());
            return 0;
        case DM_GETDEFID:
            return MAKELRESULT(kButton5, DC_HASDEFID);
        case WM_DPICHANGED:
            OnDpiChanged(dpi::ChangeOf(wParam, lParam));
            return 0;
        case WM_CLOSE:
            // The close button and Alt+F4 close as 閉じる does: left to the activation, the focus
            // would fall onto the main window's bare frame, where no key works.
            BitBtn1Click();
            return 0;
        default:
            break;
    }
    return DefaultHandling(message, wParam, lParam);
}

void TForm2::CreateControls() {
    using forms::CreateChild;
    m_scale = dpi::OfWindow(Handle());
    const HWND form = Handle();
    // Created in tab order: 置換, 新規条件, 編集, 削除, 閉じる, then the list. ApplyScale places them.
    m_ui.Label1 = CreateChild(form, L"STATIC", L"置換条件一覧：", SS_LEFT | SS_NOPREFIX, kLabel1, {});
    m_ui.Button5 = CreateChild(form, WC_BUTTONW, L"置換(&R)", WS_TABSTOP | BS_DEFPUSHBUTTON, kButton5, {});
    m_ui.Button2 =
        CreateChild(form, WC_BUTTONW, L"新規条件(&A)...", WS_TABSTOP | BS_PUSHBUTTON, kButton2, {});
    m_ui.Button3 = CreateChild(form, WC_BUTTONW, L"編集(&E)...", WS_TABSTOP | BS_PUSHBUTTON, kButton3, {});
    m_ui.Button4 = CreateChild(form, WC_BUTTONW, L"削除(&D)", WS_TABSTOP | BS_PUSHBUTTON, kButton4, {});
    m_ui.BitBtn1 = CreateChild(form, WC_BUTTONW, L"閉じる", WS_TABSTOP | BS_PUSHBUTTON, kBitBtn1, {});
    m_ui.ListView1 =
        CreateChild(form, WC_LISTVIEWW, L"",
                    WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                    kListView1, {}, WS_EX_CLIENTEDGE);
    // Flat scroll bars where the list offers them; themed lists draw their own and ignore this.
    listview::SetExtendedStyle(m_ui.ListView1, LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
    int index = 0;
    for (const auto& column : kColumns)
        listview::AddColumn(m_ui.ListView1, index++, column.caption, m_scale(column.width), column.format);
    ApplyScale();
}

// The font, the controls' places, the columns and the client size for the dialog's dpi; run at
// creation and whenever the dpi changes (`previous` is the dpi the columns were sized for).
void TForm2::ApplyScale(std::optional<DpiScale> previous) {
    UniqueFont font = CreateUiFont(m_scale);
    ApplyFont(Handle(), font.Get());
    m_font = std::move(font);
    dpi::Place(m_ui.Label1, 11, 8, 150, 14, m_scale);
    dpi::Place(m_ui.Button5, 402, 24, 89, 25, m_scale);
    dpi::Place(m_ui.Button2, 402, 104, 89, 25, m_scale);
    dpi::Place(m_ui.Button3, 402, 136, 89, 25, m_scale);
    dpi::Place(m_ui.Button4, 402, 168, 89, 25, m_scale);
    dpi::Place(m_ui.BitBtn1, 402, 232, 89, 25, m_scale);
    dpi::Place(m_ui.ListView1, 8, 24, 381, 233, m_scale);
    if (previous) {
        for (int column = 0; column < static_cast<int>(std::size(kColumns)); ++column) {
            const int width = listview::ColumnWidth(m_ui.ListView1, column);
            listview::SetColumnWidth(m_ui.ListView1, column, m_scale.From(width, previous->Dpi()));
        }
    }
    dpi::ResizeClient(Handle(), kClientSize, kStyle, kExStyle, m_scale);
}

// WM_DPICHANGED: the dialog moved to a monitor of another density; it is laid out again and takes
// the place Windows suggests, at the size of its own layout.
void TForm2::OnDpiChanged(const dpi::Change& change) {
    const DpiScale previous = m_scale;
    m_scale = change.scale;
    SetWindowPos(Handle(), nullptr, change.suggested.left, change.suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyScale(previous);
}

void TForm2::FormCreate() {
    listview::DeleteAllItems(m_ui.ListView1);
    const ReplaceRuleList& rules = Rules();
    for (std::size_t index = 0; index < rules.size(); ++index) {
        const int row = listview::InsertItem(m_ui.ListView1, static_cast<int>(index), L"", I_IMAGENONE);
        ShowRuleCells(row, rules[index]);
    }
}

void TForm2::FormShow() {
    if (listview::ItemCount(m_ui.ListView1) > 0) listview::Select(m_ui.ListView1, 0);
    FocusControl(m_ui.Button5);
}

LRESULT TForm2::OnNotify(NMHDR& header) {
    if (header.hwndFrom == m_ui.ListView1 && header.code == NM_DBLCLK) Button3Click();
    return 0;
}

void TForm2::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return;
    switch (id) {
        case kButton5:
            Button5Click();
            return;
        case kButton2:
            Button2Click();
            return;
        case kButton3:
            Button3Click();
            return;
        case kButton4:
            Button4Click();
            return;
        case kBitBtn1:
            BitBtn1Click();
            return;
        default:
            return;
    }
}

void TForm2::Button5Click() {
    m_host.ApplyReplaceRules();
}

void TForm2::Button2Click() {
    OpenEditor(-1);
}

void TForm2::Button3Click() {
    const int selected = listview::SelectedItem(m_ui.ListView1);
    if (selected < 0) return;
    OpenEditor(selected);
}

void TForm2::OpenEditor(int editIndex) {
    if (!m_editor) return;
    m_editor->ShowModal(editIndex);
    FocusControl(m_ui.Button5);
}

void TForm2::Button4Click() {
    const int index = listview::SelectedItem(m_ui.ListView1);
    ReplaceRuleList& rules = Rules();
    if (index < 0 || static_cast<std::size_t>(index) >= rules.size()) return;
    const unsigned codePage = Codec().CodePage();
    std::wstring question = L"以下の置換条件を削除します。      \r\n\r\n";
    question += L"検索文字列： ";
    question += ToWide(rules[index].searchText, codePage);
    question += L"\r\n\r\n";
    question += L"置換後文字列： ";
    question += ToWide(rules[index].replacementText, codePage);
    int answer = IDNO;
    {
        // The question is modal for the whole program, and this dialog steps out of the topmost
        // band meanwhile so that it cannot cover the question.
        forms::ModalState modal(nullptr);
        forms::SuspendedTopmost notOnTop(Handle());
        answer = m_application.GetServices().ShowMessageBox(m_application.OwnerWindow(), question, L"確認",
                                                            MB_YESNO | MB_ICONQUESTION);
    }
    if (answer != IDYES || static_cast<std::size_t>(index) >= rules.size()) return;
    rules.erase(rules.begin() + index);
    listview::DeleteItem(m_ui.ListView1, index);
    if (listview::ItemCount(m_ui.ListView1) > 0) listview::Select(m_ui.ListView1, 0);
}

void TForm2::BitBtn1Click() {
    ShowWindow(Handle(), SW_HIDE);
    m_host.ReturnFocus();
}

void TForm2::AppendRule(const TReplacePatterns& rule) {
    ReplaceRuleList& rules = Rules();
    rules.push_back(rule);
    const int row =
        listview::InsertItem(m_ui.ListView1, static_cast<int>(rules.size()) - 1, L"", I_IMAGENONE);
    ShowRuleCells(row, rule);
    listview::Focus(m_ui.ListView1, row);
    listview::EnsureVisible(m_ui.ListView1, row, false);
}

void TForm2::ChangeRule(int index, const TReplacePatterns& rule) {
    ReplaceRuleList& rules = Rules();
    if (index < 0 || static_cast<std::size_t>(index) >= rules.size()) return;
    rules[index] = rule;
    ShowRuleCells(index, rule);
}

void TForm2::ShowRuleCells(int row, const TReplacePatterns& rule) {
    const unsigned codePage = Codec().CodePage();
    listview::SetItemText(m_ui.ListView1, row, 0, ToWide(rule.searchText, codePage));
    listview::SetItemText(m_ui.ListView1, row, 1, ToWide(rule.replacementText, codePage));
    listview::SetItemText(m_ui.ListView1, row, 2,
                          rule.onlyInParentheses ? kInParenthesesMark : kWholeTitleMark);
}

void TForm2::FocusControl(HWND control) {
    m_focus.Set(Handle(), control);
}

}  // namespace kanaroll
