#include "replace/TForm3.h"

#include <string>
#include <string_view>

#include "platform/Application.h"
#include "platform/ByteLimitedEdit.h"
#include "platform/Controls.h"
#include "platform/Dpi.h"
#include "platform/Fonts.h"
#include "platform/WideText.h"
#include "replace/TForm2.h"

namespace kanaroll {

namespace {

// Sizes at 96 dpi, scaled by the editor's dpi.
constexpr SIZE kClientSize{263, 171};
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

constexpr int kButton1 = IDOK;
constexpr int kBitBtn1 = IDCANCEL;
constexpr int kLabel1 = 100;
constexpr int kEdit1 = 101;
constexpr int kLabel2 = 102;
constexpr int kEdit2 = 103;
constexpr int kCheckBox1 = 104;

constexpr int kMaxTextBytes = 32;

// kanaroll.ini keeps a rule as one line that is read back by plain byte searches: a line holding
// "MAMEPath:" anywhere is taken for the MAME path (and the rule is lost), and a Ctrl-Z ends the
// line where it stands. TAB, CR and LF cannot be entered at all.
bool WouldBreakSettingsLine(std::string_view text) {
    return text.find("MAMEPath:") != std::string_view::npos || text.find('\x1A') != std::string_view::npos;
}

}  // namespace

TForm3::TForm3(Application& application, TForm2& replaceDialog)
    : m_application(application), m_replaceDialog(replaceDialog) {
    const DpiScale startScale = dpi::OfSystem();
    const SIZE outer =
        dpi::OuterSizeForClient(dpi::Scale(startScale, kClientSize), kStyle, kExStyle, startScale);
    CreateWindowOf({.className = L"TForm3"}, kExStyle, kStyle, L"新規条件", 0, 0, outer.cx, outer.cy,
                   application.OwnerWindow());
}

TForm3::~TForm3() {
    if (Handle()) DestroyWindow(Handle());
}

LRESULT TForm3::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            CreateControls();
            return 0;
        case WM_ACTIVATE:
            m_focus.OnActivate(Handle(), wParam);
            return 0;
        case WM_SETFOCUS:
            m_focus.Restore(Handle());
            return 0;
        case DM_GETDEFID:
            return MAKELRESULT(kButton1, DC_HASDEFID);
        case WM_DPICHANGED:
            OnDpiChanged(dpi::ChangeOf(wParam, lParam));
            return 0;
        case WM_CLOSE:
            // The title bar's close button: like 閉じる, nothing is changed.
            CloseEditor();
            return 0;
        default:
            break;
    }
    return DefaultHandling(message, wParam, lParam);
}

void TForm3::CreateControls() {
    using forms::CreateChild;
    m_scale = dpi::OfWindow(Handle());
    const HWND form = Handle();
    // Created in tab order: Edit1, Edit2, CheckBox1, Button1, BitBtn1. ApplyScale places them.
    m_ui.Label1 = CreateChild(form, L"STATIC", L"検索文字列", SS_LEFT | SS_NOPREFIX, kLabel1, {});
    m_ui.Edit1 = CreateChild(form, WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, kEdit1, {}, WS_EX_CLIENTEDGE);
    m_ui.Label2 = CreateChild(form, L"STATIC", L"置換後文字列", SS_LEFT | SS_NOPREFIX, kLabel2, {});
    m_ui.Edit2 = CreateChild(form, WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, kEdit2, {}, WS_EX_CLIENTEDGE);
    m_ui.CheckBox1 =
        CreateChild(form, WC_BUTTONW, L"括弧内だけに適用する", WS_TABSTOP | BS_AUTOCHECKBOX, kCheckBox1, {});
    m_ui.Button1 = CreateChild(form, WC_BUTTONW, L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, kButton1, {});
    m_ui.BitBtn1 = CreateChild(form, WC_BUTTONW, L"閉じる", WS_TABSTOP | BS_PUSHBUTTON, kBitBtn1, {});
    // kanaroll.ini keeps the rules in Shift-JIS whatever the catalogue's codec: the fields count and
    // refuse in Shift-JIS, so that a rule is never written as something else than was typed.
    const unsigned codePage = ShiftJisCodec().CodePage();
    LimitEditBytes(m_ui.Edit1, codePage, kMaxTextBytes);
    LimitEditBytes(m_ui.Edit2, codePage, kMaxTextBytes);
    ApplyScale();
}

// The font, the controls' places and the client size for the editor's dpi; run at creation and
// whenever the dpi changes.
void TForm3::ApplyScale() {
    UniqueFont font = CreateUiFont(m_scale);
    ApplyFont(Handle(), font.Get());
    m_font = std::move(font);
    dpi::Place(m_ui.Label1, 10, 8, 120, 14, m_scale);
    dpi::Place(m_ui.Edit1, 10, 24, 241, 20, m_scale);
    dpi::Place(m_ui.Label2, 10, 56, 120, 14, m_scale);
    dpi::Place(m_ui.Edit2, 10, 72, 241, 20, m_scale);
    dpi::Place(m_ui.CheckBox1, 10, 106, 145, 17, m_scale);
    dpi::Place(m_ui.Button1, 59, 136, 89, 25, m_scale);
    dpi::Place(m_ui.BitBtn1, 162, 136, 89, 25, m_scale);
    dpi::ResizeClient(Handle(), kClientSize, kStyle, kExStyle, m_scale);
}

// WM_DPICHANGED: laid out again for the new density, at the place Windows suggests.
void TForm3::OnDpiChanged(const dpi::Change& change) {
    m_scale = change.scale;
    SetWindowPos(Handle(), nullptr, change.suggested.left, change.suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyScale();
}

void TForm3::ShowModal(int editIndex) noexcept {
    Guarded(
        [this, editIndex] {
            RunModal(editIndex);
            return 0;
        },
        0);
}

void TForm3::RunModal(int editIndex) {
    if (m_running || !Handle()) return;
    const auto ruleCount = static_cast<int>(m_replaceDialog.Rules().size());
    if (editIndex < -1 || editIndex >= ruleCount) return;
    m_editIndex = editIndex;
    struct Running {
        bool& flag;
        explicit Running(bool& running) : flag(running) { flag = true; }
        ~Running() { flag = false; }
    } running(m_running);
    m_closeRequested = false;

    m_application.BeforeDialog();
    forms::ModalState modal(Handle());
    // The replace dialog stays on top; it steps out of the topmost band meanwhile, or it would
    // cover the editor centred over it.
    forms::SuspendedTopmost notOnTop(m_replaceDialog.Handle());
    FormShow();
    ShowWindow(Handle(), SW_SHOW);
    // The editor's own message loop. It takes one message at a time, so that nothing meant for
    // later is handled once the editor has closed; Tab, Enter and Esc go through the dialog
    // manager. A quit message ends it and is left for the program's loop.
    MSG message;
    while (!m_closeRequested && Handle() && !m_application.Terminated()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!IsDialogMessageW(Handle(), &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    // The other windows come back before the editor hides, so that the activation goes back to
    // the replace dialog and not to another program.
    modal.EnableOthers();
    if (Handle()) ShowWindow(Handle(), SW_HIDE);
}

void TForm3::FormShow() {
    RECT dialog{};
    GetWindowRect(m_replaceDialog.Handle(), &dialog);
    RECT editor{};
    GetWindowRect(Handle(), &editor);
    const int left = dialog.left + ((dialog.right - dialog.left) - (editor.right - editor.left)) / 2;
    const int top = dialog.top + ((dialog.bottom - dialog.top) - (editor.bottom - editor.top)) / 2;
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    m_focus.Set(Handle(), m_ui.Edit1);
    if (m_editIndex == -1) {
        window::SetText(Handle(), L"新規条件");
        edit::FillText(m_ui.Edit1, L"");
        edit::FillText(m_ui.Edit2, L"");
        button::SetChecked(m_ui.CheckBox1, true);
        return;
    }
    const TReplacePatterns& rule = m_replaceDialog.Rules()[static_cast<std::size_t>(m_editIndex)];
    const unsigned codePage = m_replaceDialog.Codec().CodePage();
    window::SetText(Handle(), L"編集");
    edit::FillText(m_ui.Edit1, ToWide(rule.searchText, codePage));
    edit::FillText(m_ui.Edit2, ToWide(rule.replacementText, codePage));
    button::SetChecked(m_ui.CheckBox1, rule.onlyInParentheses);
}

void TForm3::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return;
    if (id == kButton1) Button1Click();
    if (id == kBitBtn1) BitBtn1Click();
}

void TForm3::Button1Click() {
    if (!m_running) return;
    const unsigned codePage = m_replaceDialog.Codec().CodePage();
    TReplacePatterns rule;
    rule.searchText = FromWide(window::Text(m_ui.Edit1), codePage);
    rule.replacementText = FromWide(window::Text(m_ui.Edit2), codePage);
    rule.onlyInParentheses = button::IsChecked(m_ui.CheckBox1);
    if (rule.searchText.empty()) return;
    if (WouldBreakSettingsLine(rule.searchText) || WouldBreakSettingsLine(rule.replacementText)) {
        m_application.GetServices().Beep();
        return;
    }
    if (m_editIndex == -1) {
        m_replaceDialog.AppendRule(rule);
    } else {
        m_replaceDialog.ChangeRule(m_editIndex, rule);
    }
    CloseEditor();
}

void TForm3::BitBtn1Click() {
    CloseEditor();
}

void TForm3::CloseEditor() {
    if (m_running) m_closeRequested = true;
}

}  // namespace kanaroll
