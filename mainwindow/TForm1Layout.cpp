#include <algorithm>

#include "mainwindow/ControlIds.h"
#include "mainwindow/Resources.h"
#include "mainwindow/TForm1.h"
#include "platform/Controls.h"
#include "platform/Fonts.h"
#include "platform/FormSupport.h"

namespace kanaroll {

using forms::Bounds;
using forms::CreateChild;

namespace {

constexpr int kSplitterHeight = 6;
constexpr int kMinimumListHeight = 80;  // the splitter's minimum on the list's side
constexpr int kMinimumListWidth = 800;
constexpr int kMinimumPanelHeight = 150;
constexpr SIZE kPanelDesignSize{942, 285};
constexpr SIZE kGroupBox1DesignSize{572, 118};
constexpr SIZE kGroupBox2DesignSize{358, 88};

// A right-aligned label sizes itself to its text and keeps its right edge, as the designer's labels
// do, so that its text shows whole in whatever face the platform puts in for the font.
RECT LabelBounds(HFONT font, const wchar_t* text, int left, int top, int width, int height) {
    WindowDc dc(nullptr);
    SelectedObject selected(dc.Get(), font);
    SIZE extent{};
    GetTextExtentPoint32W(dc.Get(), text, static_cast<int>(wcslen(text)), &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    const int right = left + width;
    return {right - std::max<int>(width, extent.cx), top, right,
            top + std::max<int>(height, metrics.tmHeight)};
}

// A control of a container at its design position, anchored.
HWND Place(ContainerWindow& parent, HWND control, RECT bounds, unsigned anchors) {
    parent.Layout().Add(control, bounds, anchors);
    SetWindowPos(control, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return control;
}

void AddGameColumns(HWND list) {
    const struct {
        const wchar_t* caption;
        int width;
    } columns[] = {{L"ZIP名", 80},  {L"英語名", 230}, {L"日本語名", 300}, {L"メーカー", 140},
                   {L"製造年", 60}, {L"マスタ", 70},  {L"訳", 40}};
    int index = 0;
    for (const auto& column : columns) listview::AddColumn(list, index++, column.caption, column.width);
}

constexpr DWORD kListExtendedStyle = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;

}  // namespace

void TForm1::CreateControls() {
    m_font = CreateUiFont();
    m_boldFont = CreateUiFont(true);

    // Row icons: 0 a master, 1 a clone.
    m_imageList.Reset(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0));
    for (const wchar_t* name : {KANAROLL_ICON_MASTER, KANAROLL_ICON_CLONE}) {
        m_icons.emplace_back(
            static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON, 16, 16, 0)));
        ImageList_AddIcon(m_imageList.Get(), m_icons.back().Get());
    }

    // The game list: rows supplied on demand, disabled until the catalogue is loaded.
    m_ui.ListView1 = CreateChild(Handle(), WC_LISTVIEWW, L"",
                                 WS_TABSTOP | WS_DISABLED | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL |
                                     LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                                 ids::kListView1, {}, WS_EX_CLIENTEDGE);
    listview::SetExtendedStyle(m_ui.ListView1, kListExtendedStyle);
    listview::SetSmallImages(m_ui.ListView1, m_imageList.Get());
    AddGameColumns(m_ui.ListView1);
    if (HWND header = listview::Header(m_ui.ListView1)) {
        SetWindowLongPtrW(header, GWL_STYLE, GetWindowLongPtrW(header, GWL_STYLE) | HDS_FULLDRAG);
    }

    m_splitter = std::make_unique<Splitter>(
        Handle(), ids::kSplitter1, [this](int height) { OnSplitterMoved(height); },
        [this] {
            RECT client{};
            GetClientRect(Handle(), &client);
            RECT bar = window::BoundsInParent(m_ui.StatusBar1);
            const int available = client.bottom - (bar.bottom - bar.top) - kSplitterHeight;
            return std::pair{kMinimumPanelHeight, available - kMinimumListHeight};
        });
    m_ui.Splitter1 = m_splitter->Handle();

    CreateLowerPane();

    m_ui.StatusBar1 = CreateChild(Handle(), STATUSCLASSNAMEW, L"", SBARS_SIZEGRIP, ids::kStatusBar1, {});
    statusbar::SetParts(m_ui.StatusBar1, {200, 150, 150, -1});

    CreatePopupMenu1();

    ApplyFont(Handle(), m_font.Get());
    ApplyFont(m_ui.Edit3, m_boldFont.Get(), false);
    LayoutClient();
}

void TForm1::CreateLowerPane() {
    m_panel2 =
        std::make_unique<ContainerWindow>(Handle(), Bounds(0, 0, kPanelDesignSize.cx, kPanelDesignSize.cy),
                                          ContainerWindow::Frame::None, kPanelDesignSize);
    m_ui.Panel2 = m_panel2->Handle();
    ContainerWindow& panel = *m_panel2;

    // Created in tab order: the detail frame, the family list, the format choice, the output
    // button, the hardware frame.
    m_groupBox1 = std::make_unique<ContainerWindow>(m_ui.Panel2, Bounds(3, 1, 572, 118),
                                                    ContainerWindow::Frame::Group, kGroupBox1DesignSize);
    m_ui.GroupBox1 =
        Place(panel, m_groupBox1->Handle(), Bounds(3, 1, 572, 118), kAnchorLeft | kAnchorTop | kAnchorRight);
    ContainerWindow& details = *m_groupBox1;
    const HWND group1 = m_ui.GroupBox1;
    const auto addLabel = [this](ContainerWindow& parent, const wchar_t* text, int id, int left, int top,
                                 int width) {
        Place(parent, CreateChild(parent.Handle(), L"STATIC", text, SS_RIGHT | SS_NOPREFIX, id, {}),
              LabelBounds(m_font.Get(), text, left, top, width, 12), kAnchorLeft | kAnchorTop);
    };
    addLabel(details, L"英語名:", ids::kLabelEnglish, 21, 20, 38);
    addLabel(details, L"日本語名:", ids::kLabelJapanese, 4, 43, 55);
    m_ui.Edit1 = Place(details,
                       CreateChild(group1, WC_EDITW, L"", WS_TABSTOP | WS_DISABLED | ES_AUTOHSCROLL,
                                   ids::kEdit1, {}, WS_EX_CLIENTEDGE),
                       Bounds(61, 38, 503, 20), kAnchorLeft | kAnchorTop | kAnchorRight);
    addLabel(details, L"よみがな:", ids::kLabelReading, 4, 67, 55);
    m_ui.Edit2 = Place(details,
                       CreateChild(group1, WC_EDITW, L"", WS_TABSTOP | WS_DISABLED | ES_AUTOHSCROLL,
                                   ids::kEdit2, {}, WS_EX_CLIENTEDGE),
                       Bounds(61, 64, 503, 20), kAnchorLeft | kAnchorTop | kAnchorRight);
    m_ui.Edit3 =
        Place(details,
              CreateChild(group1, WC_EDITW, L"", WS_DISABLED | ES_READONLY | ES_AUTOHSCROLL, ids::kEdit3, {}),
              Bounds(61, 19, 501, 17), kAnchorLeft | kAnchorTop | kAnchorRight);
    m_ui.Button3 =
        Place(details, CreateChild(group1, WC_BUTTONW, L"置換(&R)...", WS_DISABLED, ids::kButton3, {}),
              Bounds(371, 89, 62, 22), kAnchorTop | kAnchorRight);
    m_ui.Button1 =
        Place(details, CreateChild(group1, WC_BUTTONW, L"リセット", WS_DISABLED, ids::kButton1, {}),
              Bounds(436, 89, 62, 22), kAnchorTop | kAnchorRight);
    m_ui.Button2 =
        Place(details, CreateChild(group1, WC_BUTTONW, L"元に戻す", WS_DISABLED, ids::kButton2, {}),
              Bounds(500, 89, 63, 22), kAnchorTop | kAnchorRight);

    m_ui.ListView2 = Place(panel,
                           CreateChild(m_ui.Panel2, WC_LISTVIEWW, L"",
                                       WS_TABSTOP | WS_DISABLED | LVS_REPORT | LVS_SINGLESEL |
                                           LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | LVS_SHAREIMAGELISTS,
                                       ids::kListView2, {}, WS_EX_CLIENTEDGE),
                           Bounds(0, 126, 942, 158), kAnchorLeft | kAnchorTop | kAnchorRight | kAnchorBottom);
    listview::SetExtendedStyle(m_ui.ListView2, kListExtendedStyle);
    listview::SetSmallImages(m_ui.ListView2, m_imageList.Get());
    AddGameColumns(m_ui.ListView2);

    m_ui.RadioButton1 =
        Place(panel,
              CreateChild(m_ui.Panel2, WC_BUTTONW, L"Mame32J形式",
                          WS_TABSTOP | WS_GROUP | WS_DISABLED | BS_AUTORADIOBUTTON, ids::kRadioButton1, {}),
              Bounds(605, 99, 96, 17), kAnchorTop | kAnchorRight);
    m_ui.RadioButton2 = Place(panel,
                              CreateChild(m_ui.Panel2, WC_BUTTONW, L"MANE32J形式",
                                          WS_DISABLED | BS_AUTORADIOBUTTON, ids::kRadioButton2, {}),
                              Bounds(710, 98, 96, 17), kAnchorTop | kAnchorRight);
    button::SetChecked(m_ui.RadioButton1, true);
    m_ui.BitBtn1 = Place(panel,
                         CreateChild(m_ui.Panel2, WC_BUTTONW, L"出力(&S)...",
                                     WS_TABSTOP | WS_GROUP | WS_DISABLED, ids::kBitBtn1, {}),
                         Bounds(825, 94, 88, 25), kAnchorTop | kAnchorRight);
    m_icons.emplace_back(
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), KANAROLL_ICON_SAVE, IMAGE_ICON, 16, 16, 0)));
    button::SetIcon(m_ui.BitBtn1, m_icons.back().Get());

    m_groupBox2 = std::make_unique<ContainerWindow>(m_ui.Panel2, Bounds(580, 1, 358, 88),
                                                    ContainerWindow::Frame::Group, kGroupBox2DesignSize);
    m_ui.GroupBox2 = Place(panel, m_groupBox2->Handle(), Bounds(580, 1, 358, 88), kAnchorTop | kAnchorRight);
    ContainerWindow& hardware = *m_groupBox2;
    const HWND group2 = m_ui.GroupBox2;
    const DWORD memo = ES_READONLY | ES_MULTILINE | ES_AUTOVSCROLL;
    addLabel(hardware, L"CPU:", ids::kLabelCpu, 16, 13, 25);
    m_ui.Memo1 = Place(hardware, CreateChild(group2, WC_EDITW, L"", memo, ids::kMemo1, {}),
                       Bounds(45, 13, 308, 27), kAnchorLeft | kAnchorTop);
    addLabel(hardware, L"Sound:", ids::kLabelSound, 8, 39, 33);
    m_ui.Memo2 = Place(hardware, CreateChild(group2, WC_EDITW, L"", memo, ids::kMemo2, {}),
                       Bounds(45, 39, 308, 27), kAnchorLeft | kAnchorTop);
    addLabel(hardware, L"Video:", ids::kLabelVideo, 10, 67, 31);
    m_ui.Edit4 =
        Place(hardware, CreateChild(group2, WC_EDITW, L"", ES_READONLY | ES_AUTOHSCROLL, ids::kEdit4, {}),
              Bounds(44, 67, 304, 12), kAnchorLeft | kAnchorTop | kAnchorRight);
}

void TForm1::CreatePopupMenu1() {
    m_popupMenu.Reset(CreatePopupMenu());
    m_ui.PopupMenu1 = m_popupMenu.Get();
    AppendMenuW(m_ui.PopupMenu1, MF_STRING, ids::kPopExecute, L"起動\tF5");
    AppendMenuW(m_ui.PopupMenu1, MF_STRING, ids::kMAME1, L"MAME実行ファイルの指定(&B)...");
    AppendMenuW(m_ui.PopupMenu1, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(m_ui.PopupMenu1, MF_STRING, ids::kN1, L"ゲーム名を置換\tF3");
    AppendMenuW(m_ui.PopupMenu1, MF_STRING, ids::kN3, L"クイックセーブ(&Q)\tCtrl+S");
}

void TForm1::LayoutClient() {
    if (!m_ui.StatusBar1) return;
    RECT client{};
    GetClientRect(Handle(), &client);
    statusbar::FitToParent(m_ui.StatusBar1);
    const RECT bar = window::BoundsInParent(m_ui.StatusBar1);
    const int available = client.bottom - (bar.bottom - bar.top);
    const int panelHeight =
        std::clamp(m_panelHeight, kMinimumPanelHeight,
                   std::max(kMinimumPanelHeight, available - kSplitterHeight - kMinimumListHeight));
    const int listHeight = std::max(0, available - kSplitterHeight - panelHeight);
    const int width = client.right;
    MoveWindow(m_ui.ListView1, 0, 0, width, listHeight, TRUE);
    MoveWindow(m_ui.Splitter1, 0, listHeight, width, kSplitterHeight, TRUE);
    MoveWindow(m_ui.Panel2, 0, listHeight + kSplitterHeight, width, panelHeight, TRUE);
    m_splitter->SetLowerHeight(panelHeight);
}

void TForm1::OnSplitterMoved(int panelHeight) {
    m_panelHeight = panelHeight;
    LayoutClient();
}

void TForm1::MinimumTrackSize(MINMAXINFO& info) const {
    int barHeight = 21;
    if (m_ui.StatusBar1) {
        const RECT bar = window::BoundsInParent(m_ui.StatusBar1);
        barHeight = bar.bottom - bar.top;
    }
    const SIZE minimum = forms::OuterSizeForClient(
        {kMinimumListWidth, kMinimumListHeight + kSplitterHeight + kMinimumPanelHeight + barHeight},
        static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)),
        static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
    info.ptMinTrackSize = {minimum.cx, minimum.cy};
}

}  // namespace kanaroll
